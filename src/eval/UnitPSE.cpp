// PLACEHOLDER: replaced by the piece-square tables.
#include "eval/UnitPSE.h"

int32_t PSETable[13][64];
int32_t PSEDelta[13][64][64];
int32_t CastleShortPSEDelta, CastleLongPSEDelta;
int32_t PieceValue[13];

void InitPSETables() {}
void BlendPSETables() {}
int32_t ComputePSEScore() { return 0; }
