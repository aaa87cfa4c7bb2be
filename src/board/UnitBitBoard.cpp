// Bit helpers, the square and attack tables built once at start-up, and the
// attack, blocker and pin queries on the current position.
//
// Slider attacks use rotated occupancies: besides Occupied, the position keeps
// three copies of the occupied set renumbered so that every file and every
// diagonal lies on consecutive bits. One shift and one 8-bit mask then give a
// line's occupancy pattern, and one table read gives the attacked squares.
#include "board/UnitBitBoard.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "board/Position.h"

// Diagonals "A" run a2-b1 / a8-h1 (file + rank constant), numbered d = f + r;
// diagonals "B" run a1-h8 (file - rank constant), numbered e = r - f + 7. Line
// number n starts at bit 0, 1, 3, 6, 10, 15, 21, 28, 36, 43, 49, 54, 58, 61, 63
// of its rotated occupancy; squares along a line are numbered from the lower
// file (A) or the lower rank (B).
const uint8_t RankShift[64] = {
     0,  0,  0,  0,  0,  0,  0,  0,  8,  8,  8,  8,  8,  8,  8,  8,
    16, 16, 16, 16, 16, 16, 16, 16, 24, 24, 24, 24, 24, 24, 24, 24,
    32, 32, 32, 32, 32, 32, 32, 32, 40, 40, 40, 40, 40, 40, 40, 40,
    48, 48, 48, 48, 48, 48, 48, 48, 56, 56, 56, 56, 56, 56, 56, 56,
};
const uint8_t FileShift[64] = {
     0,  8, 16, 24, 32, 40, 48, 56,  0,  8, 16, 24, 32, 40, 48, 56,
     0,  8, 16, 24, 32, 40, 48, 56,  0,  8, 16, 24, 32, 40, 48, 56,
     0,  8, 16, 24, 32, 40, 48, 56,  0,  8, 16, 24, 32, 40, 48, 56,
     0,  8, 16, 24, 32, 40, 48, 56,  0,  8, 16, 24, 32, 40, 48, 56,
};
const uint8_t FileRotationMap[64] = {
     0,  8, 16, 24, 32, 40, 48, 56,  1,  9, 17, 25, 33, 41, 49, 57,
     2, 10, 18, 26, 34, 42, 50, 58,  3, 11, 19, 27, 35, 43, 51, 59,
     4, 12, 20, 28, 36, 44, 52, 60,  5, 13, 21, 29, 37, 45, 53, 61,
     6, 14, 22, 30, 38, 46, 54, 62,  7, 15, 23, 31, 39, 47, 55, 63,
};
const uint8_t DiagShiftA[64] = {
     0,  1,  3,  6, 10, 15, 21, 28,  1,  3,  6, 10, 15, 21, 28, 36,
     3,  6, 10, 15, 21, 28, 36, 43,  6, 10, 15, 21, 28, 36, 43, 49,
    10, 15, 21, 28, 36, 43, 49, 54, 15, 21, 28, 36, 43, 49, 54, 58,
    21, 28, 36, 43, 49, 54, 58, 61, 28, 36, 43, 49, 54, 58, 61, 63,
};
const uint8_t DiagAPosition[64] = {
     0,  1,  2,  3,  4,  5,  6,  7,  0,  1,  2,  3,  4,  5,  6,  6,
     0,  1,  2,  3,  4,  5,  5,  5,  0,  1,  2,  3,  4,  4,  4,  4,
     0,  1,  2,  3,  3,  3,  3,  3,  0,  1,  2,  2,  2,  2,  2,  2,
     0,  1,  1,  1,  1,  1,  1,  1,  0,  0,  0,  0,  0,  0,  0,  0,
};
const uint8_t DiagALength[64] = {
     1,  2,  3,  4,  5,  6,  7,  8,  2,  3,  4,  5,  6,  7,  8,  7,
     3,  4,  5,  6,  7,  8,  7,  6,  4,  5,  6,  7,  8,  7,  6,  5,
     5,  6,  7,  8,  7,  6,  5,  4,  6,  7,  8,  7,  6,  5,  4,  3,
     7,  8,  7,  6,  5,  4,  3,  2,  8,  7,  6,  5,  4,  3,  2,  1,
};
const uint8_t DiagARotationMap[64] = {
     0,  2,  5,  9, 14, 20, 27, 35,  1,  4,  8, 13, 19, 26, 34, 42,
     3,  7, 12, 18, 25, 33, 41, 48,  6, 11, 17, 24, 32, 40, 47, 53,
    10, 16, 23, 31, 39, 46, 52, 57, 15, 22, 30, 38, 45, 51, 56, 60,
    21, 29, 37, 44, 50, 55, 59, 62, 28, 36, 43, 49, 54, 58, 61, 63,
};
const uint8_t DiagAInverseMap[64] = {
     0,  8,  1, 16,  9,  2, 24, 17, 10,  3, 32, 25, 18, 11,  4, 40,
    33, 26, 19, 12,  5, 48, 41, 34, 27, 20, 13,  6, 56, 49, 42, 35,
    28, 21, 14,  7, 57, 50, 43, 36, 29, 22, 15, 58, 51, 44, 37, 30,
    23, 59, 52, 45, 38, 31, 60, 53, 46, 39, 61, 54, 47, 62, 55, 63,
};
const uint8_t DiagShiftB[64] = {
    28, 21, 15, 10,  6,  3,  1,  0, 36, 28, 21, 15, 10,  6,  3,  1,
    43, 36, 28, 21, 15, 10,  6,  3, 49, 43, 36, 28, 21, 15, 10,  6,
    54, 49, 43, 36, 28, 21, 15, 10, 58, 54, 49, 43, 36, 28, 21, 15,
    61, 58, 54, 49, 43, 36, 28, 21, 63, 61, 58, 54, 49, 43, 36, 28,
};
const uint8_t DiagBPosition[64] = {
     0,  0,  0,  0,  0,  0,  0,  0,  0,  1,  1,  1,  1,  1,  1,  1,
     0,  1,  2,  2,  2,  2,  2,  2,  0,  1,  2,  3,  3,  3,  3,  3,
     0,  1,  2,  3,  4,  4,  4,  4,  0,  1,  2,  3,  4,  5,  5,  5,
     0,  1,  2,  3,  4,  5,  6,  6,  0,  1,  2,  3,  4,  5,  6,  7,
};
const uint8_t DiagBLength[64] = {
     8,  7,  6,  5,  4,  3,  2,  1,  7,  8,  7,  6,  5,  4,  3,  2,
     6,  7,  8,  7,  6,  5,  4,  3,  5,  6,  7,  8,  7,  6,  5,  4,
     4,  5,  6,  7,  8,  7,  6,  5,  3,  4,  5,  6,  7,  8,  7,  6,
     2,  3,  4,  5,  6,  7,  8,  7,  1,  2,  3,  4,  5,  6,  7,  8,
};
const uint8_t DiagBRotationMap[64] = {
    28, 21, 15, 10,  6,  3,  1,  0, 36, 29, 22, 16, 11,  7,  4,  2,
    43, 37, 30, 23, 17, 12,  8,  5, 49, 44, 38, 31, 24, 18, 13,  9,
    54, 50, 45, 39, 32, 25, 19, 14, 58, 55, 51, 46, 40, 33, 26, 20,
    61, 59, 56, 52, 47, 41, 34, 27, 63, 62, 60, 57, 53, 48, 42, 35,
};
const uint8_t DiagBInverseMap[64] = {
     7,  6, 15,  5, 14, 23,  4, 13, 22, 31,  3, 12, 21, 30, 39,  2,
    11, 20, 29, 38, 47,  1, 10, 19, 28, 37, 46, 55,  0,  9, 18, 27,
    36, 45, 54, 63,  8, 17, 26, 35, 44, 53, 62, 16, 25, 34, 43, 52,
    61, 24, 33, 42, 51, 60, 32, 41, 50, 59, 40, 49, 58, 48, 57, 56,
};

// Bits L-1..7 set: marks a line of length L as blocked at its last square and
// everything beyond it, so neighbouring lines' bits never change the answer.
const int32_t DiagFillMask[9] = {0, 0xFF, 0xFE, 0xFC, 0xF8, 0xF0, 0xE0, 0xC0, 0x80};
const int32_t DiagLengthMask[9] = {0, 0, 3, 7, 15, 31, 63, 127, 255};

BitBoard SquareMask[64], SquareMaskFileRotated[64], SquareMaskDiagA[64], SquareMaskDiagB[64];
BitBoard RankAttacks[64][256], FileAttacks[64][256], DiagAttacksA[64][256], DiagAttacksB[64][256];
BitBoard RookMask[64], BishopMask[64], KnightAttacks[64], KingAttacks[64], KingRing2[64];
BitBoard WhitePawnAttacks[64], BlackPawnAttacks[64], WhitePawnAttackersOf[64], BlackPawnAttackersOf[64];
BitBoard RayE[64], RayNW[64], RayN[64], RayNE[64], RayW[64], RaySE[64], RayS[64], RaySW[64];
int32_t Direction[64][64], KingDistance[64][64];
BitBoard FileMask[8], AdjacentFilesMask[8];
BitBoard WhitePassedMask[64], BlackPassedMask[64], WhiteFrontSpan[64], BlackFrontSpan[64];
BitBoard WhiteAdjacentAhead[64], BlackAdjacentAhead[64];

namespace {

bool OnBoard(int f, int r) { return f >= 0 && f < 8 && r >= 0 && r < 8; }

BitBoard Bit(int f, int r) { return OnBoard(f, r) ? BitBoard{1} << (r * 8 + f) : 0; }

// Squares of files f0..f1 (clipped to the board) on ranks r0..r1.
BitBoard Block(int f0, int f1, int r0, int r1) {
  BitBoard b = 0;
  for (int r = r0; r <= r1; r++)
    for (int f = f0; f <= f1; f++) b |= Bit(f, r);
  return b;
}

void InitSquareMasks() {
  for (int s = 0; s < 64; s++) SquareMask[s] = BitBoard{1} << s;
  for (int s = 0; s < 64; s++) {
    SquareMaskFileRotated[s] = SquareMask[FileRotationMap[s]];
    SquareMaskDiagA[s] = SquareMask[DiagARotationMap[s]];
    SquareMaskDiagB[s] = SquareMask[DiagBRotationMap[s]];
  }
}

void InitPawnStructureMasks(int f, int r) {
  const int s = r * 8 + f;
  WhiteFrontSpan[s] = Block(f, f, r + 1, 6);
  BlackFrontSpan[s] = Block(f, f, 1, r - 1);
  WhitePassedMask[s] = Block(f - 1, f + 1, r + 1, 7);
  BlackPassedMask[s] = Block(f - 1, f + 1, 0, r - 1);
  WhiteAdjacentAhead[s] = WhitePassedMask[s] & ~Block(f, f, 0, 7);
  BlackAdjacentAhead[s] = BlackPassedMask[s] & ~Block(f, f, 0, 7);
}

void InitStepAttacks(int f, int r) {
  const int s = r * 8 + f;
  KingAttacks[s] = 0;
  KingRing2[s] = 0;
  KnightAttacks[s] = 0;
  for (int df = -2; df <= 2; df++)
    for (int dr = -2; dr <= 2; dr++) {
      const int chebyshev = std::max(std::abs(df), std::abs(dr));
      if (chebyshev == 1) KingAttacks[s] |= Bit(f + df, r + dr);
      if (chebyshev == 2) KingRing2[s] |= Bit(f + df, r + dr);
      if (std::abs(df * dr) == 2) KnightAttacks[s] |= Bit(f + df, r + dr);
    }
  WhitePawnAttacks[s] = Bit(f - 1, r + 1) | Bit(f + 1, r + 1);
  BlackPawnAttacks[s] = Bit(f - 1, r - 1) | Bit(f + 1, r - 1);
}

void InitMasksAndStepAttacks() {
  for (int f = 0; f < 8; f++) {
    FileMask[f] = 0;
    AdjacentFilesMask[f] = 0;
  }
  for (int s = 0; s < 64; s++) {
    WhitePassedMask[s] = BlackPassedMask[s] = 0;
    WhiteFrontSpan[s] = BlackFrontSpan[s] = 0;
    WhiteAdjacentAhead[s] = BlackAdjacentAhead[s] = 0;
  }
  for (int f = 0; f < 8; f++)
    for (int r = 0; r < 8; r++) {
      if (r >= 1 && r <= 6) AdjacentFilesMask[f] |= Bit(f - 1, r) | Bit(f + 1, r);
      FileMask[f] |= Bit(f, r);
    }
  for (int f = 0; f < 8; f++)
    for (int r = 0; r < 8; r++) {
      if (r >= 1 && r <= 6) InitPawnStructureMasks(f, r);
      InitStepAttacks(f, r);
    }
}

// The 8-bit set a slider on file x of a single row attacks for pattern p,
// first blocker included in both directions.
uint32_t RowAttacks(int x, uint32_t p) {
  uint32_t a = 0;
  for (int k = x - 1; k >= 0; k--) {
    a |= 1u << k;
    if (p & (1u << k)) break;
  }
  for (int k = x + 1; k < 8; k++) {
    a |= 1u << k;
    if (p & (1u << k)) break;
  }
  return a;
}

void InitRankAttacks() {
  for (int x = 0; x < 8; x++)
    for (uint32_t p = 0; p < 256; p++) {
      const BitBoard row = RowAttacks(x, p);
      for (int r = 0; r < 8; r++) RankAttacks[r * 8 + x][p] = row << (8 * r);
    }
}

// A diagonal read as a first-rank row of its own length: the row lookup is
// mapped back to board squares through the line's inverse map.
BitBoard DiagonalEntry(int position, int length, int shift, const uint8_t* inverseMap,
                       uint32_t p) {
  const BitBoard m = RankAttacks[position][p | uint32_t(DiagFillMask[length])] &
                     uint32_t(DiagLengthMask[length]);
  BitBoard entry = 0;
  for (BitBoard rest = m; rest; rest &= rest - 1)
    entry |= SquareMask[inverseMap[shift + BitScanForward(rest)]];
  return entry;
}

void InitLineAttacks() {
  for (int s = 0; s < 64; s++)
    for (uint32_t p = 0; p < 256; p++) {
      BitBoard transposed = 0;
      for (BitBoard rest = RankAttacks[s][p]; rest; rest &= rest - 1)
        transposed |= SquareMaskFileRotated[BitScanForward(rest)];
      FileAttacks[FileRotationMap[s]][p] = transposed;
      DiagAttacksA[s][p] =
          DiagonalEntry(DiagAPosition[s], DiagALength[s], DiagShiftA[s], DiagAInverseMap, p);
      DiagAttacksB[s][p] =
          DiagonalEntry(DiagBPosition[s], DiagBLength[s], DiagShiftB[s], DiagBInverseMap, p);
    }
}

void InitEmptyBoardMasks() {
  for (int s = 0; s < 64; s++) {
    RookMask[s] = RankAttacks[s][0] | FileAttacks[s][0];
    BishopMask[s] = DiagAttacksA[s][0] | DiagAttacksB[s][0];
    const int f = s % 8, r = s / 8;
    BlackPawnAttackersOf[s] = r <= 5 ? Bit(f + 1, r + 1) | Bit(f - 1, r + 1) : 0;
    WhitePawnAttackersOf[s] = r >= 2 ? Bit(f + 1, r - 1) | Bit(f - 1, r - 1) : 0;
  }
}

BitBoard Ray(int s, int df, int dr) {
  BitBoard b = 0;
  for (int f = s % 8 + df, r = s / 8 + dr; OnBoard(f, r); f += df, r += dr) b |= Bit(f, r);
  return b;
}

void InitRaysAndDistances() {
  for (int a = 0; a < 64; a++) {
    RayE[a] = Ray(a, 1, 0);
    RayNW[a] = Ray(a, -1, 1);
    RayN[a] = Ray(a, 0, 1);
    RayNE[a] = Ray(a, 1, 1);
    RayW[a] = Ray(a, -1, 0);
    RaySE[a] = Ray(a, 1, -1);
    RayS[a] = Ray(a, 0, -1);
    RaySW[a] = Ray(a, -1, -1);
    for (int b = 0; b < 64; b++) {
      const int df = b % 8 - a % 8, dr = b / 8 - a / 8;
      KingDistance[a][b] = int32_t(std::lround(std::sqrt(double(df * df + dr * dr))));
      const BitBoard bit = SquareMask[b];
      Direction[a][b] = (RayE[a] & bit)    ? 1
                        : (RayNW[a] & bit) ? 7
                        : (RayN[a] & bit)  ? 8
                        : (RayNE[a] & bit) ? 9
                        : (RayW[a] & bit)  ? -1
                        : (RaySE[a] & bit) ? -7
                        : (RayS[a] & bit)  ? -8
                        : (RaySW[a] & bit) ? -9
                                           : 0;
    }
  }
}

// The one lookup along the line from s toward a king in direction d.
inline BitBoard LookupToward(uint8_t s, int32_t d) {
  switch (d) {
    case 1: case -1: return RankLookup(s);
    case 8: case -8: return FileLookup(s);
    case 7: case -7: return DiagALookup(s);
    case 9: case -9: return DiagBLookup(s);
    default: return 0;
  }
}

}  // namespace

void InitBitBoards() {
  InitSquareMasks();
  InitMasksAndStepAttacks();
  InitRankAttacks();
  InitLineAttacks();
  InitEmptyBoardMasks();
  InitRaysAndDistances();
}

BitBoard AttacksTo(uint8_t s) {
  const BitBoard diagonalSliders = Pieces(WhiteBishop) | Pieces(WhiteQueen) |
                                   Pieces(BlackBishop) | Pieces(BlackQueen);
  const BitBoard lineSliders = Pieces(WhiteRook) | Pieces(WhiteQueen) | Pieces(BlackRook) |
                               Pieces(BlackQueen);
  return (WhitePawnAttacks[s] & Pieces(BlackPawn)) | (BlackPawnAttacks[s] & Pieces(WhitePawn)) |
         (KnightAttacks[s] & (Pieces(WhiteKnight) | Pieces(BlackKnight))) |
         (KingAttacks[s] & (WhiteKingBB | BlackKingBB)) | (DiagonalAttacks(s) & diagonalSliders) |
         (LineAttacks(s) & lineSliders);
}

BitBoard WhiteAttacksTo(uint8_t s) {
  return (BlackPawnAttacks[s] & Pieces(WhitePawn)) | (KnightAttacks[s] & Pieces(WhiteKnight)) |
         (KingAttacks[s] & WhiteKingBB) |
         (DiagonalAttacks(s) & (Pieces(WhiteBishop) | Pieces(WhiteQueen))) |
         (LineAttacks(s) & (Pieces(WhiteRook) | Pieces(WhiteQueen)));
}

BitBoard BlackAttacksTo(uint8_t s) {
  return (WhitePawnAttacks[s] & Pieces(BlackPawn)) | (KnightAttacks[s] & Pieces(BlackKnight)) |
         (KingAttacks[s] & BlackKingBB) |
         (DiagonalAttacks(s) & (Pieces(BlackBishop) | Pieces(BlackQueen))) |
         (LineAttacks(s) & (Pieces(BlackRook) | Pieces(BlackQueen)));
}

BitBoard WhiteBlockersTo(uint8_t s) {
  BitBoard b = (KnightAttacks[s] & Pieces(WhiteKnight)) |
               (DiagonalAttacks(s) & (Pieces(WhiteBishop) | Pieces(WhiteQueen))) |
               (LineAttacks(s) & (Pieces(WhiteRook) | Pieces(WhiteQueen)));
  if (s / 8 == 3 && Board[s - 16] == WhitePawn && Board[s - 8] == Empty)
    b |= SquareMask[s - 16];
  else if (s >= 16 && Board[s - 8] == WhitePawn)
    b |= SquareMask[s - 8];
  return b;
}

BitBoard BlackBlockersTo(uint8_t s) {
  BitBoard b = (KnightAttacks[s] & Pieces(BlackKnight)) |
               (DiagonalAttacks(s) & (Pieces(BlackBishop) | Pieces(BlackQueen))) |
               (LineAttacks(s) & (Pieces(BlackRook) | Pieces(BlackQueen)));
  if (s / 8 == 4 && Board[s + 16] == BlackPawn && Board[s + 8] == Empty)
    b |= SquareMask[s + 16];
  else if (s < 48 && Board[s + 8] == BlackPawn)
    b |= SquareMask[s + 8];
  return b;
}

bool IsPinnedToWhiteKing(uint8_t s) {
  const int32_t d = Direction[s][WhiteKingSquare];
  const BitBoard line = LookupToward(s, d);
  if (!(line & WhiteKingBB)) return false;
  const bool diagonal = d == 7 || d == -7 || d == 9 || d == -9;
  const BitBoard sliders =
      Pieces(BlackQueen) | (diagonal ? Pieces(BlackBishop) : Pieces(BlackRook));
  return (line & sliders) != 0;
}

bool IsPinnedToBlackKing(uint8_t s) {
  const int32_t d = Direction[s][BlackKingSquare];
  const BitBoard line = LookupToward(s, d);
  if (!(line & BlackKingBB)) return false;
  const bool diagonal = d == 7 || d == -7 || d == 9 || d == -9;
  const BitBoard sliders =
      Pieces(WhiteQueen) | (diagonal ? Pieces(WhiteBishop) : Pieces(WhiteRook));
  return (line & sliders) != 0;
}

bool IsAttackedByBlack(uint8_t s) {
  return (LineAttacks(s) & (Pieces(BlackRook) | Pieces(BlackQueen))) ||
         (DiagonalAttacks(s) & (Pieces(BlackBishop) | Pieces(BlackQueen))) ||
         (KnightAttacks[s] & Pieces(BlackKnight)) || (KingAttacks[s] & BlackKingBB) ||
         (BlackPawnAttackersOf[s] & Pieces(BlackPawn));
}

bool IsAttackedByWhite(uint8_t s) {
  return (LineAttacks(s) & (Pieces(WhiteRook) | Pieces(WhiteQueen))) ||
         (DiagonalAttacks(s) & (Pieces(WhiteBishop) | Pieces(WhiteQueen))) ||
         (KnightAttacks[s] & Pieces(WhiteKnight)) || (KingAttacks[s] & WhiteKingBB) ||
         (WhitePawnAttackersOf[s] & Pieces(WhitePawn));
}
