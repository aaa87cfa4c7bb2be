// PLACEHOLDER: replaced by the key tables.
#include "board/ZobristKeys.h"

const uint64_t ZobristConstants[794] = {};
uint64_t PieceKeys[13][64], CastleKeys[16], EpKeys[8], SideKey;
uint32_t WhitePawnKeys[64], BlackPawnKeys[64];

void InitZobristKeys() {}
uint64_t ComputeHashKey() { return 0; }
uint32_t ComputePawnKey() { return 0; }
