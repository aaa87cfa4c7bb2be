// Bit helpers, the precomputed square and attack tables, and the attack,
// blocker and pin queries on the current position.
#pragma once
#include <bit>
#include <cstdint>

using BitBoard = uint64_t;

// Never called with an empty set.
inline int BitScanForward(BitBoard b) { return std::countr_zero(b); }
inline int BitScanReverse(BitBoard b) { return 63 - std::countl_zero(b); }
inline int PopCount(BitBoard b) { return std::popcount(b); }

// Constant tables of the rotated-occupancy scheme.
extern const uint8_t RankShift[64];
extern const uint8_t FileShift[64];
extern const uint8_t FileRotationMap[64];
extern const uint8_t DiagShiftA[64];
extern const uint8_t DiagAPosition[64];
extern const uint8_t DiagALength[64];
extern const uint8_t DiagARotationMap[64];
extern const uint8_t DiagAInverseMap[64];
extern const uint8_t DiagShiftB[64];
extern const uint8_t DiagBPosition[64];
extern const uint8_t DiagBLength[64];
extern const uint8_t DiagBRotationMap[64];
extern const uint8_t DiagBInverseMap[64];
extern const int32_t DiagFillMask[9];    // by line length 1..8
extern const int32_t DiagLengthMask[9];  // by line length 1..8

// Tables filled by InitBitBoards.
extern BitBoard SquareMask[64];
extern BitBoard SquareMaskFileRotated[64];
extern BitBoard SquareMaskDiagA[64];
extern BitBoard SquareMaskDiagB[64];
extern BitBoard RankAttacks[64][256];
extern BitBoard FileAttacks[64][256];
extern BitBoard DiagAttacksA[64][256];
extern BitBoard DiagAttacksB[64][256];
extern BitBoard RookMask[64];
extern BitBoard BishopMask[64];
extern BitBoard KnightAttacks[64];
extern BitBoard KingAttacks[64];
extern BitBoard KingRing2[64];
extern BitBoard WhitePawnAttacks[64];
extern BitBoard BlackPawnAttacks[64];
extern BitBoard WhitePawnAttackersOf[64];
extern BitBoard BlackPawnAttackersOf[64];
extern BitBoard RayE[64], RayNW[64], RayN[64], RayNE[64];
extern BitBoard RayW[64], RaySE[64], RayS[64], RaySW[64];
extern int32_t Direction[64][64];
extern int32_t KingDistance[64][64];
extern BitBoard FileMask[8];
extern BitBoard AdjacentFilesMask[8];
extern BitBoard WhitePassedMask[64];
extern BitBoard BlackPassedMask[64];
extern BitBoard WhiteFrontSpan[64];
extern BitBoard BlackFrontSpan[64];
extern BitBoard WhiteAdjacentAhead[64];
extern BitBoard BlackAdjacentAhead[64];

void InitBitBoards();

// The occupancies the slider lookups read: every piece as bit s of Occupied
// and as its rotated bit in the other three. The position keeps them.
extern BitBoard Occupied, OccupiedFileRotated, OccupiedDiagRotatedA, OccupiedDiagRotatedB;

// Slider lookups on the current occupancies: the squares along one line up
// to and including the first piece each way, whatever its colour.
inline BitBoard RankLookup(uint8_t s) { return RankAttacks[s][(Occupied >> RankShift[s]) & 255]; }
inline BitBoard FileLookup(uint8_t s) {
  return FileAttacks[s][(OccupiedFileRotated >> FileShift[s]) & 255];
}
inline BitBoard DiagALookup(uint8_t s) {
  return DiagAttacksA[s][(OccupiedDiagRotatedA >> DiagShiftA[s]) & 255];
}
inline BitBoard DiagBLookup(uint8_t s) {
  return DiagAttacksB[s][(OccupiedDiagRotatedB >> DiagShiftB[s]) & 255];
}
// A rook's reach and a bishop's; a queen has both.
inline BitBoard LineAttacks(uint8_t s) { return RankLookup(s) | FileLookup(s); }
inline BitBoard DiagonalAttacks(uint8_t s) { return DiagALookup(s) | DiagBLookup(s); }

// Queries on the current position (square as unsigned 8-bit).
BitBoard AttacksTo(uint8_t s);
BitBoard WhiteAttacksTo(uint8_t s);
BitBoard BlackAttacksTo(uint8_t s);
BitBoard WhiteBlockersTo(uint8_t s);
BitBoard BlackBlockersTo(uint8_t s);
bool IsPinnedToWhiteKing(uint8_t s);
bool IsPinnedToBlackKing(uint8_t s);
bool IsAttackedByBlack(uint8_t s);
bool IsAttackedByWhite(uint8_t s);
