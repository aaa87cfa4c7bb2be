// The xboard protocol loop.
#pragma once

extern bool XbForce;       // force mode: the engine never moves by itself
extern bool XbEngineSide;  // the side the engine plays, coded like WhiteToMove

void XboardLoop();
