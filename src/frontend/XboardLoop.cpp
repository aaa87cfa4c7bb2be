// The xboard protocol loop.
#include "frontend/XboardLoop.h"

bool XbForce = false;
bool XbEngineSide = false;

void XboardLoop() {}
