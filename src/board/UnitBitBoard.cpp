// PLACEHOLDER: replaced by the bitboard tables and queries.
#include "board/UnitBitBoard.h"

const uint8_t RankShift[64] = {}, FileShift[64] = {}, FileRotationMap[64] = {};
const uint8_t DiagShiftA[64] = {}, DiagAPosition[64] = {}, DiagALength[64] = {};
const uint8_t DiagARotationMap[64] = {}, DiagAInverseMap[64] = {};
const uint8_t DiagShiftB[64] = {}, DiagBPosition[64] = {}, DiagBLength[64] = {};
const uint8_t DiagBRotationMap[64] = {}, DiagBInverseMap[64] = {};
const int32_t DiagFillMask[9] = {}, DiagLengthMask[9] = {};
BitBoard SquareMask[64], SquareMaskFileRotated[64], SquareMaskDiagA[64], SquareMaskDiagB[64];
BitBoard RankAttacks[64][256], FileAttacks[64][256], DiagAttacksA[64][256], DiagAttacksB[64][256];
BitBoard RookMask[64], BishopMask[64], KnightAttacks[64], KingAttacks[64], KingRing2[64];
BitBoard WhitePawnAttacks[64], BlackPawnAttacks[64], WhitePawnAttackersOf[64], BlackPawnAttackersOf[64];
BitBoard RayE[64], RayNW[64], RayN[64], RayNE[64], RayW[64], RaySE[64], RayS[64], RaySW[64];
int32_t Direction[64][64], KingDistance[64][64];
BitBoard FileMask[8], AdjacentFilesMask[8];
BitBoard WhitePassedMask[64], BlackPassedMask[64], WhiteFrontSpan[64], BlackFrontSpan[64];
BitBoard WhiteAdjacentAhead[64], BlackAdjacentAhead[64];

void InitBitBoards() {}
BitBoard AttacksTo(uint8_t) { return 0; }
BitBoard WhiteAttacksTo(uint8_t) { return 0; }
BitBoard BlackAttacksTo(uint8_t) { return 0; }
BitBoard WhiteBlockersTo(uint8_t) { return 0; }
BitBoard BlackBlockersTo(uint8_t) { return 0; }
bool IsPinnedToWhiteKing(uint8_t) { return false; }
bool IsPinnedToBlackKing(uint8_t) { return false; }
bool IsAttackedByBlack(uint8_t) { return false; }
bool IsAttackedByWhite(uint8_t) { return false; }
