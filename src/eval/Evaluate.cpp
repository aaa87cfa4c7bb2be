// The static evaluation and its printed breakdown.
#include <string>

#include "board/Position.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"

uint32_t EvalCount = 0;
BitBoard WhiteAttackSet = 0, BlackAttackSet = 0;

namespace {

constexpr int A2 = 8, B2 = 9, C2 = 10, D3 = 19, E3 = 20, F2 = 13, G2 = 14, H2 = 15;
constexpr int B3 = 17, G3 = 22, D4 = 27, E4 = 28;
constexpr int A7 = 48, B7 = 49, C7 = 50, F7 = 53, G7 = 54, H7 = 55, B6 = 41, G6 = 46;
constexpr int D6 = 43, E6 = 44;
constexpr BitBoard Rank2 = 0x000000000000FF00, Rank7 = 0x00FF000000000000;
constexpr BitBoard InnerCentre = 0x0000001818000000, WideCentre = 0x00003C3C3C3C0000;

// By the number of squares a piece reaches that its own side does not hold.
constexpr int32_t KnightMobility[9] = {-28, -21, -8, -3, 2, 5, 9, 11, 13};
constexpr int32_t BishopMobility[14] = {-21, -8, 2, 7, 12, 18, 21, 23, 25, 28, 31, 33, 35, 38};
constexpr int32_t RookMobility[15] = {-26, -9, 2, 8, 12, 15, 24, 26, 32, 33, 37, 39, 41, 42, 50};
// Entry 7 is 2, below both neighbours, and stays so: the scores of every
// position with such a queen depend on it.
constexpr int32_t QueenMobility[28] = {-14, -7, 2,  4,  9,  15, 17, 2,  24, 27, 29, 32, 33, 36,
                                       37,  38, 40, 41, 43, 45, 46, 52, 53, 54, 56, 59, 62, 64};
// By the (rounded Euclidean) distance 1..10 from the enemy king.
constexpr int32_t QueenTropism[11] = {0, 8, 4, 2, 1, 0, 0, 0, 0, 0, 0};

// Knight outposts for White by square; Black's table is its mirror.
struct OutpostTables {
  uint8_t White[64], Black[64];
};

constexpr OutpostTables BuildOutposts() {
  OutpostTables t{};
  constexpr uint8_t Rank5[8] = {0, 10, 50, 50, 50, 50, 10, 0};
  constexpr uint8_t Rank6[8] = {0, 20, 60, 70, 70, 60, 20, 0};
  t.White[D4] = t.White[E4] = 10;
  for (int f = 0; f < 8; ++f) {
    t.White[32 + f] = Rank5[f];
    t.White[40 + f] = Rank6[f];
    t.White[48 + f] = Rank5[f];
  }
  for (int s = 0; s < 64; ++s) t.Black[s ^ 56] = t.White[s];
  return t;
}

constexpr OutpostTables KnightOutpost = BuildOutposts();

// The phase-dependent piece bonuses, rounded once for every weight so the
// evaluation only looks them up.
struct WeightBonuses {
  int32_t RookOpenFile[256];    // no own pawn on the rook's file
  int32_t KnightBlockade[256];  // knight in front of an enemy centre pawn
  int32_t BishopBlocked[256];   // bishop in front of its own centre pawn
};

WeightBonuses BuildWeightBonuses() {
  WeightBonuses b{};
  for (int w = 0; w < 256; ++w) {
    b.RookOpenFile[w] = static_cast<int32_t>(Round(10 * (w + 255) / 255.0));
    b.KnightBlockade[w] = static_cast<int32_t>(Round((1.0 - w / 255.0) * 50.0));
    b.BishopBlocked[w] = static_cast<int32_t>(Round((1.0 - w / 255.0) * -40.0));
  }
  return b;
}

const WeightBonuses Bonus = BuildWeightBonuses();

// One side's share of the piece terms, each as that side's own gain.
struct SideTerms {
  int32_t Attacks = 0, Mobility = 0, Various = 0;
  BitBoard AttackSet;
};

template <bool White>
struct Color {
  static constexpr uint8_t Knight = White ? WhiteKnight : BlackKnight;
  static constexpr uint8_t Bishop = White ? WhiteBishop : BlackBishop;
  static constexpr uint8_t Rook = White ? WhiteRook : BlackRook;
  static constexpr uint8_t Queen = White ? WhiteQueen : BlackQueen;
  static constexpr uint8_t Pawn = White ? WhitePawn : BlackPawn;
  static constexpr uint8_t EnemyPawn = White ? BlackPawn : WhitePawn;
  static constexpr int Up = White ? 8 : -8;
  static constexpr BitBoard SeventhRank = White ? Rank7 : Rank2;
};

template <bool White>
void CountReach(SideTerms& t, BitBoard att, int32_t attackWeight, const int32_t* mobility) {
  const BitBoard own = White ? WhitePieces : BlackPieces;
  const BitBoard enemy = White ? BlackPieces : WhitePieces;
  t.AttackSet |= att;
  t.Attacks += attackWeight * PopCount(att & enemy);
  t.Mobility += mobility[PopCount(att & ~own)];
}

template <bool White>
int32_t KnightVarious(int s, uint8_t w) {
  using C = Color<White>;
  const BitBoard ahead = White ? WhiteAdjacentAhead[s] : BlackAdjacentAhead[s];
  int32_t v = 0;
  if ((Pieces(C::EnemyPawn) & ahead) == 0) v += White ? KnightOutpost.White[s] : KnightOutpost.Black[s];
  // Black's blockade squares are d4 and e4 (over a pawn on d3 or e3), not
  // the mirror of White's d6 and e6.
  const bool blockade = White ? (s == D6 || s == E6) && Board[s + 8] == BlackPawn
                              : (s == D4 || s == E4) && Board[s - 8] == WhitePawn;
  if (blockade) v += Bonus.KnightBlockade[w];
  return v;
}

bool HasPawn(int s, uint8_t pawn) { return Board[s] == pawn; }

template <bool White>
int32_t BishopVarious(int s, uint8_t w) {
  using C = Color<White>;
  int32_t v = 0;
  const bool blocked = White ? (s == D3 || s == E3) : (s == D6 || s == E6);
  if (blocked && HasPawn(s - C::Up, C::Pawn)) v += Bonus.BishopBlocked[w];
  // A bishop on the enemy's a- or h-pawn corner, shut in by two pawns.
  const uint8_t p = C::EnemyPawn;
  if (White) {
    if (s == A7 && HasPawn(C7, p) && (HasPawn(B7, p) || HasPawn(B6, p))) v -= 175;
    if (s == H7 && HasPawn(F7, p) && (HasPawn(G7, p) || HasPawn(G6, p))) v -= 175;
  } else {
    if (s == A2 && HasPawn(C2, p) && (HasPawn(B2, p) || HasPawn(B3, p))) v -= 175;
    if (s == H2 && HasPawn(F2, p) && (HasPawn(G2, p) || HasPawn(G3, p))) v -= 175;
  }
  return v;
}

template <bool White>
int32_t QueenVarious(int s) {
  using C = Color<White>;
  int32_t v = 0;
  if ((SquareMask[s] & C::SeventhRank) && (Pieces(C::Rook) & C::SeventhRank) &&
      (Pieces(C::EnemyPawn) & C::SeventhRank))
    v += 64;
  return v + QueenTropism[KingDistance[s][White ? BlackKingSquare : WhiteKingSquare]];
}

template <bool White>
int32_t RookVarious(int s, uint8_t w) {
  using C = Color<White>;
  int32_t v = 0;
  if ((Pieces(C::Pawn) & FileMask[s % 8]) == 0) v += Bonus.RookOpenFile[w];
  if (SquareMask[s] & C::SeventhRank) v += 80;
  return v;
}

template <bool White>
SideTerms SidePieceTerms(uint8_t w, BitBoard seed) {
  using C = Color<White>;
  SideTerms t;
  t.AttackSet = seed;
  for (BitBoard b = Pieces(C::Knight); b; b &= b - 1) {
    const int s = BitScanForward(b);
    CountReach<White>(t, KnightAttacks[s], 16, KnightMobility);
    t.Various += KnightVarious<White>(s, w);
  }
  for (BitBoard b = Pieces(C::Bishop); b; b &= b - 1) {
    const int s = BitScanForward(b);
    CountReach<White>(t, DiagonalAttacks(s), 8, BishopMobility);
    t.Various += BishopVarious<White>(s, w);
  }
  for (BitBoard b = Pieces(C::Queen); b; b &= b - 1) {
    const int s = BitScanForward(b);
    CountReach<White>(t, DiagonalAttacks(s) | LineAttacks(s), 4, QueenMobility);
    t.Various += QueenVarious<White>(s);
  }
  for (BitBoard b = Pieces(C::Rook); b; b &= b - 1) {
    const int s = BitScanForward(b);
    CountReach<White>(t, LineAttacks(s), 4, RookMobility);
    t.Various += RookVarious<White>(s, w);
  }
  return t;
}

template <bool White>
void PawnsOfSide(int32_t& threats, int32_t& passed, int32_t& isolated, int32_t& doubled,
                 BitBoard& seed) {
  const BitBoard own = Pieces(White ? WhitePawn : BlackPawn);
  const BitBoard enemy = Pieces(White ? BlackPawn : WhitePawn);
  const int32_t sign = White ? 1 : -1;
  for (BitBoard b = own; b; b &= b - 1) {
    const int s = BitScanForward(b);
    const BitBoard hits = White ? WhitePawnAttacks[s] & BlackPieces : BlackPawnAttacks[s] & WhitePieces;
    threats += sign * PopCount(hits);
    seed |= hits;
    if ((enemy & (White ? WhitePassedMask[s] : BlackPassedMask[s])) == 0) passed += sign;
    if ((own & AdjacentFilesMask[s % 8]) == 0) isolated += sign;
    if (own & (White ? WhiteFrontSpan[s] : BlackFrontSpan[s])) doubled += sign;
  }
}

int32_t Centre(BitBoard mask) {
  return PopCount(WhiteAttackSet & mask) - PopCount(BlackAttackSet & mask);
}

void PrintTerm(const char* label, int32_t value) {
  std::string line(1, '\xB3');
  line += PadStr(label, 18) + PadStr(std::to_string(value), -6) + '\xB3';
  WriteLine(line);
}

}  // namespace

void PawnStructure(uint8_t w, int32_t& score, BitBoard& whiteSeed, BitBoard& blackSeed) {
  int32_t threats = 0, passed = 0, isolated = 0, doubled = 0;
  whiteSeed = blackSeed = 0;
  PawnsOfSide<true>(threats, passed, isolated, doubled, whiteSeed);
  PawnsOfSide<false>(threats, passed, isolated, doubled, blackSeed);
  // The table is unsigned; the difference must not wrap.
  const int32_t advanced =
      static_cast<int32_t>(AdvancedPawnTable[WhiteAdvancedPawnIndex(Pieces(WhitePawn))]) -
      static_cast<int32_t>(AdvancedPawnTable[BlackAdvancedPawnIndex(Pieces(BlackPawn))]);
  const int32_t early = (-10 * isolated - 10 * doubled + 20 * passed) * (255 - w);
  const int32_t late = (-20 * isolated - 20 * doubled + 40 * passed + advanced) * w;
  score = static_cast<int32_t>(Round(early / 255.0 + late / 255.0)) + 32 * threats;
}

void AddPieceTerms(uint8_t w, EvalTerms& t) {
  const SideTerms white = SidePieceTerms<true>(w, WhiteAttackSet);
  const SideTerms black = SidePieceTerms<false>(w, BlackAttackSet);
  WhiteAttackSet = white.AttackSet;
  BlackAttackSet = black.AttackSet;
  t.Attacks = white.Attacks - black.Attacks;
  t.Mobility = white.Mobility - black.Mobility;
  t.Various = white.Various - black.Various;
}

int32_t EvaluateTerms(EvalTerms& t) {
  uint8_t w, recognised;
  FetchMaterial(t.Material, w, recognised);
  t.PSE = PSEScore;
  t.Recognised = recognised != 0;
  if (t.Recognised) return t.PSE + t.Material;

  if (!ProbePawnCache(t.Pawns, WhiteAttackSet, BlackAttackSet)) {
    PawnStructure(w, t.Pawns, WhiteAttackSet, BlackAttackSet);
    StorePawnCache(t.Pawns, WhiteAttackSet, BlackAttackSet);
  }
  AddPieceTerms(w, t);
  t.WhiteSafety = WhiteKingSafety();
  t.BlackSafety = BlackKingSafety();
  t.Center = 4 * Centre(InnerCentre) + 2 * Centre(WideCentre);
  return t.PSE + t.Material + t.Pawns + t.Attacks + t.Mobility + t.Various + t.Center +
         t.WhiteSafety - t.BlackSafety;
}

int32_t DampedScore(int32_t score, uint32_t halfmoveClock) {
  if (halfmoveClock <= 70) return score;
  // From 101 on the formula would flip the sign and grow; past the point
  // where it reaches 0 the score stays 0.
  const int32_t left = 101 - static_cast<int32_t>(halfmoveClock);
  if (left <= 0) return 0;
  return static_cast<int32_t>(Round(score * left / 30.0));
}

void PrintEvalBox(const EvalTerms& t) {
  WriteLine("\xDA" + std::string(24, '\xC4') + "\xBF");
  PrintTerm("PSE", t.PSE);
  PrintTerm("Material", t.Material);
  if (!t.Recognised) {
    PrintTerm("Pawns", t.Pawns);
    PrintTerm("Mobility", t.Mobility);
    PrintTerm("Attacks", t.Attacks);
    PrintTerm("Center", t.Center);
    PrintTerm("Various", t.Various);
    PrintTerm("White King Safety", t.WhiteSafety);
    PrintTerm("Black King Safety", t.BlackSafety);
  }
  WriteLine("\xC0" + std::string(24, '\xC4') + "\xD9");
}

int32_t Evaluate(bool print) {
  ++EvalCount;
  EvalTerms t;
  int32_t total = EvaluateTerms(t);
  if (!WhiteToMove) total = -total;
  // A recognised ending's table score is already what the ending is worth.
  if (!t.Recognised) total = DampedScore(total, HalfmoveClock);
  if (print) PrintEvalBox(t);
  return total;
}
