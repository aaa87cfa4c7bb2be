// Piece-square tables, blended by game phase, and the piece-square sum.
#include "eval/UnitPSE.h"

#include <cstdlib>

#include "board/Position.h"
#include "eval/UnitEval.h"
#include "frontend/Helpers.h"

const int32_t PSEVectors[23][8] = {
    {-20, -8, -2, 5, 5, -2, -8, -20},       // pawn, opening, by file
    {0, -3, -2, -1, 1, 2, 3, 0},            // pawn, opening, by rank
    {-4, -6, -8, -10, -10, -8, -6, -4},     // pawn, endgame, by file
    {0, -3, -3, -2, -1, 0, 2, 0},           // pawn, endgame, by rank
    {-26, -10, 1, 5, 5, 1, -10, -26},       // knight, opening, by file
    {-32, -10, 6, 15, 21, 19, 10, -11},     // knight, opening, by rank
    {-4, -1, 2, 4, 4, 2, -1, -4},           // knight, endgame, by file
    {2, 1, 0, -1, -2, -4, -7, -10},         // knight, endgame, by rank
    {-10, -5, -2, 1, 3, 5, 2, -3},          // knight, endgame, by diagonal distance
    {10, 5, 1, -3, -5, -7, -8, -12},        // bishop, opening, by diagonal distance
    {-5, 0, 0, 0, 0, 0, 0, 0},              // bishop, opening, by rank
    {3, 2, 0, 0, -2, -2, -3, -3},           // bishop, endgame, by diagonal distance
    {-4, 0, 4, 8, 8, 4, 0, -4},             // rook, opening, by file
    {0, 0, 0, 0, 1, 1, 1, -2},              // rook, endgame, by rank
    {3, 2, 1, 0, -2, -4, -7, -10},          // queen, opening, by diagonal distance
    {-2, 0, 1, 2, 2, 1, 0, -2},             // queen, opening, by file and by rank
    {3, 2, 1, 0, -2, -4, -7, -10},          // queen, endgame, by diagonal distance
    {-2, 0, 1, 2, 2, 1, 0, -2},             // queen, endgame, by file and by rank
    {40, 45, 15, -5, -5, 15, 45, 40},       // king, opening, by file
    {4, 1, -2, -5, -10, -15, -25, -35},     // king, opening, by rank
    {-15, 0, 10, 15, 15, 10, 0, -15},       // king, endgame, by file
    {-30, -5, 0, 5, 10, 5, 0, -10},         // king, endgame, by rank
    {2, 0, -2, -5, -8, -12, -20, -30},      // king, endgame, by diagonal distance
};

int32_t PSEBaseTables[13][2][64];
int32_t PSETable[13][64];
int32_t PSEDelta[13][64][64];
int32_t CastleShortPSEDelta, CastleLongPSEDelta;
int32_t PieceValue[13];

namespace {

constexpr int A1 = 0, C1 = 2, D1 = 3, E1 = 4, F1 = 5, G1 = 6, H1 = 7, A8 = 56, H8 = 63;

// The White opening and endgame value of one piece on square s.
struct SquareValues {
  int32_t Opening, Endgame;
};

SquareValues WhiteSquareValues(uint8_t piece, int s) {
  const int32_t(&V)[23][8] = PSEVectors;
  const int f = s % 8, r = s / 8;
  const int d1 = std::abs(f - r), d2 = std::abs(f + r - 7);
  switch (piece) {
    case WhitePawn:
      if (r == 0 || r == 7) return {0, 0};
      return {V[0][f] + V[1][r], V[2][f] + V[3][r]};
    case WhiteKnight:
      // The formula would give a8 and h8 a mild -37; a knight there is all
      // but lost, so it is marked down hard.
      return {(s == A8 || s == H8) ? -120 : V[4][f] + V[5][r],
              V[6][f] + V[7][r] + V[8][d1] + V[8][d2]};
    case WhiteBishop:
      return {V[9][d1] + V[9][d2] + V[10][r], V[11][d1] + V[11][d2]};
    case WhiteRook:
      return {V[12][f], V[13][r]};
    case WhiteQueen:
      return {V[14][d1] + V[14][d2] + V[15][r] + V[15][f],
              V[16][d1] + V[16][d2] + V[17][r] + V[17][f]};
    default:  // WhiteKing
      return {V[18][f] + V[19][r], V[20][f] + V[21][r] + V[22][d1] + V[22][d2]};
  }
}

struct PieceKinds {
  uint8_t White, Black;
  int32_t OpeningValue, EndgameValue;
};

constexpr PieceKinds Kinds[6] = {
    {WhitePawn, BlackPawn, 100, 120},       {WhiteKnight, BlackKnight, 325, 325},
    {WhiteBishop, BlackBishop, 325, 360},   {WhiteRook, BlackRook, 500, 500},
    {WhiteQueen, BlackQueen, 975, 1025},    {WhiteKing, BlackKing, 0, 0},
};

int32_t RoundToInt(double x) { return static_cast<int32_t>(Round(x)); }

void BlendPieceValues(double o, double e) {
  for (const PieceKinds& k : Kinds) {
    if (k.White == WhiteKing) continue;
    const int32_t v = RoundToInt(o * k.OpeningValue + e * k.EndgameValue);
    PieceValue[k.White] = v;
    PieceValue[k.Black] = v;
  }
  PieceValue[WhiteKing] = 0;
  PieceValue[BlackKing] = 0;
}

void BlendTables(double o, double e) {
  for (int c = 1; c <= 12; ++c)
    for (int s = 0; s < 64; ++s)
      PSETable[c][s] =
          RoundToInt(PSEBaseTables[c][PhaseOpening][s] * o + PSEBaseTables[c][PhaseEndgame][s] * e);
}

void FillDeltas() {
  for (int c = 1; c <= 12; ++c)
    for (int a = 0; a < 64; ++a)
      for (int b = 0; b < 64; ++b) PSEDelta[c][a][b] = PSETable[c][b] - PSETable[c][a];
}

}  // namespace

void InitPSETables() {
  for (const PieceKinds& k : Kinds) {
    for (int s = 0; s < 64; ++s) {
      const SquareValues v = WhiteSquareValues(k.White, s);
      const int mirrored = (7 - s / 8) * 8 + s % 8;
      PSEBaseTables[k.White][PhaseOpening][s] = v.Opening;
      PSEBaseTables[k.White][PhaseEndgame][s] = v.Endgame;
      PSEBaseTables[k.Black][PhaseOpening][mirrored] = -v.Opening;
      PSEBaseTables[k.Black][PhaseEndgame][mirrored] = -v.Endgame;
    }
  }
}

void BlendPSETables() {
  int32_t score;
  uint8_t weight, recognised;
  EvaluateMaterial(score, weight, recognised);

  const double e = weight / 255.0;
  const double o = (255 - weight) / 255.0;
  BlendPieceValues(o, e);
  BlendTables(o, e);
  FillDeltas();
  CastleShortPSEDelta = PSEDelta[WhiteKing][E1][G1] + PSEDelta[WhiteRook][H1][F1];
  CastleLongPSEDelta = PSEDelta[WhiteKing][E1][C1] + PSEDelta[WhiteRook][A1][D1];
  PSEScore = ComputePSEScore();
}

int32_t ComputePSEScore() {
  int32_t sum = 0;
  for (BitBoard b = Occupied; b != 0;) {
    const int s = BitScanReverse(b);
    b ^= BitBoard{1} << s;
    sum += PSETable[Board[s]][s];
  }
  return sum;
}
