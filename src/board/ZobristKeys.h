// Zobrist key tables and the from-scratch key computations.
#pragma once
#include <cstdint>

extern const uint64_t ZobristConstants[794];  // entries 1..793
extern uint64_t PieceKeys[13][64];            // by piece code 1..12
extern uint64_t CastleKeys[16];
extern uint64_t EpKeys[8];
extern uint64_t SideKey;
extern uint32_t WhitePawnKeys[64];
extern uint32_t BlackPawnKeys[64];

void InitZobristKeys();
uint64_t ComputeHashKey();
uint32_t ComputePawnKey();
