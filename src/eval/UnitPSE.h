// Piece-square tables, blended by game phase, and the piece-square sum.
#pragma once
#include <cstdint>

extern int32_t PSETable[13][64];         // live blend, by piece code 1..12
extern int32_t PSEDelta[13][64][64];     // PSETable[c][to] - PSETable[c][from]
extern int32_t CastleShortPSEDelta;
extern int32_t CastleLongPSEDelta;
extern int32_t PieceValue[13];

void InitPSETables();
void BlendPSETables();
int32_t ComputePSEScore();
