// Legal move generation: captures, quiet moves with castling, and check
// evasions. Legality is settled here, so MakeMove never has to test it.
//
// Each generator is written once as a template over the side to move; the
// colour constants below are all that differs between White and Black. White
// walks every set from the lowest square up, Black from the highest down, and
// that order is part of the result (divide output, move input matching and the
// random move choice all follow the list order).
#include "board/Position.h"
#include "board/UnitMoves.h"
#include "board/ZobristKeys.h"
#include "eval/UnitPSE.h"
#include "frontend/ConsoleIO.h"

const int32_t CaptureScore[13][11] = {
    //   -  P      N      B      R      Q      q      p      n      b      r
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 30008, 28001, 30002, 30002, 30004},              // P
    {0, 0, 0, 0, 0, 0, 30006, -1, 28003, 28005, 30002},                 // N
    {0, 0, 0, 0, 0, 0, 30006, -1, 28002, 28004, 30002},                 // B
    {0, 0, 0, 0, 0, 0, 30004, -1, -1, -1, 28006},                       // R
    {0, 0, 0, 0, 0, 0, 28007, -1, -1, -1, -1},                          // Q
    {0, -1, -1, -1, -1, 28007, 0, 0, 0, 0, 0},                          // q
    {0, 28001, 30002, 30002, 30004, 30008, 0, 0, 0, 0, 0},              // p
    {0, -1, 28003, 28005, 30002, 30006, 0, 0, 0, 0, 0},                 // n
    {0, -1, 28002, 28004, 30002, 30006, 0, 0, 0, 0, 0},                 // b
    {0, -1, -1, -1, 28006, 30004, 0, 0, 0, 0, 0},                       // r
    {0, 0, 0, 0, 0, 0, 29999, 29995, 29996, 29997, 29998},              // K
    {0, 29995, 29996, 29997, 29998, 29999, 0, 0, 0, 0, 0},              // k
};

namespace {

enum Color { White, Black };

constexpr BitBoard Rank2 = 0x000000000000FF00ull;
constexpr BitBoard Rank3 = 0x0000000000FF0000ull;
constexpr BitBoard Rank6 = 0x0000FF0000000000ull;
constexpr BitBoard Rank7 = 0x00FF000000000000ull;
constexpr BitBoard FileA = 0x0101010101010101ull;
constexpr BitBoard FileH = 0x8080808080808080ull;

// Scores the generators write besides the table and piece-square ones.
constexpr int32_t QueenPromotionScore = 29000;
constexpr int32_t CheckerCaptureScore = 29000;
constexpr int32_t UnderPromotionScore = 23000;
constexpr int32_t CastleShortScore = 25000;
constexpr int32_t CastleLongScore = 24000;
constexpr int32_t EnPassantScore = 28001;

template <Color Us>
struct Side;

template <>
struct Side<White> {
  static constexpr uint8_t Pawn = WhitePawn, Knight = WhiteKnight, Bishop = WhiteBishop,
                           Rook = WhiteRook, Queen = WhiteQueen, King = WhiteKing;
  static constexpr uint8_t EnemyPawn = BlackPawn, EnemyBishop = BlackBishop,
                           EnemyRook = BlackRook, EnemyQueen = BlackQueen;
  static constexpr uint32_t BlackBit = 0;
  static constexpr int Forward = 8;          // a single step
  static constexpr int CaptureLeft = 7;      // first pawn capture group
  static constexpr int CaptureRight = 9;     // second pawn capture group
  static constexpr BitBoard NoLeftCapture = FileA, NoRightCapture = FileH;
  static constexpr BitBoard SeventhRank = Rank7, ThirdRank = Rank3;
  static constexpr int EpTarget = 40, EpChecker = 32, EpPawnHigh = 33, EpPawnLow = 31;
  static constexpr int HomeRankBase = 0;     // castling squares relative to a1
};

template <>
struct Side<Black> {
  static constexpr uint8_t Pawn = BlackPawn, Knight = BlackKnight, Bishop = BlackBishop,
                           Rook = BlackRook, Queen = BlackQueen, King = BlackKing;
  static constexpr uint8_t EnemyPawn = WhitePawn, EnemyBishop = WhiteBishop,
                           EnemyRook = WhiteRook, EnemyQueen = WhiteQueen;
  static constexpr uint32_t BlackBit = 1;
  static constexpr int Forward = -8;
  static constexpr int CaptureLeft = -7;
  static constexpr int CaptureRight = -9;
  static constexpr BitBoard NoLeftCapture = FileH, NoRightCapture = FileA;
  static constexpr BitBoard SeventhRank = Rank2, ThirdRank = Rank6;
  static constexpr int EpTarget = 16, EpChecker = 24, EpPawnHigh = 25, EpPawnLow = 23;
  static constexpr int HomeRankBase = 56;
};

// Moves a set towards the opponent's back rank by n squares (n > 0).
template <Color Us>
inline BitBoard ShiftUp(BitBoard b, int n) {
  if constexpr (Us == White) return b << n; else return b >> n;
}

// Takes the next square of a set in the side's visiting order.
template <Color Us>
inline int PopSquare(BitBoard& b) {
  if constexpr (Us == White) {
    int s = BitScanForward(b);
    b &= b - 1;
    return s;
  } else {
    int s = BitScanReverse(b);
    b ^= BitBoard(1) << s;
    return s;
  }
}

template <Color Us>
inline bool IsLastRank(int s) {
  if constexpr (Us == White) return s >= 56; else return s < 8;
}

template <Color Us> inline int KingSquare() { return Us == White ? WhiteKingSquare : BlackKingSquare; }
template <Color Us> inline BitBoard KingBB() { return Us == White ? WhiteKingBB : BlackKingBB; }
template <Color Us> inline BitBoard OwnPieces() { return Us == White ? WhitePieces : BlackPieces; }
template <Color Us> inline BitBoard EnemyPieces() { return Us == White ? BlackPieces : WhitePieces; }

template <Color Us>
inline BitBoard EnemyStraightSliders() {
  return Pieces(Side<Us>::EnemyRook) | Pieces(Side<Us>::EnemyQueen);
}

template <Color Us>
inline BitBoard EnemyDiagonalSliders() {
  return Pieces(Side<Us>::EnemyBishop) | Pieces(Side<Us>::EnemyQueen);
}

inline BitBoard StraightAttacks(int s, BitBoard occ, BitBoard occFile) {
  return RankAttacks[s][(occ >> RankShift[s]) & 255] | FileAttacks[s][(occFile >> FileShift[s]) & 255];
}

inline BitBoard DiagonalAttacks(int s, BitBoard occA, BitBoard occB) {
  return DiagAttacksA[s][(occA >> DiagShiftA[s]) & 255] | DiagAttacksB[s][(occB >> DiagShiftB[s]) & 255];
}

inline BitBoard RookAttacksNow(int s) { return StraightAttacks(s, Occupied, OccupiedFileRotated); }
inline BitBoard BishopAttacksNow(int s) { return DiagonalAttacks(s, OccupiedDiagRotatedA, OccupiedDiagRotatedB); }

// The generators ask these two questions for nearly every king target and
// every piece that may be pinned; they are the board queries IsAttackedByBlack
// / IsAttackedByWhite and IsPinnedToWhiteKing / IsPinnedToBlackKing, written
// here again so that they inline into the generator loops.
template <Color Us>
inline bool IsAttackedByEnemy(int s) {
  using S = Side<Us>;
  constexpr uint8_t knight = Us == White ? BlackKnight : WhiteKnight;
  const BitBoard enemyKing = Us == White ? BlackKingBB : WhiteKingBB;
  const BitBoard* pawnAttackers = Us == White ? BlackPawnAttackersOf : WhitePawnAttackersOf;
  return (RookAttacksNow(s) & EnemyStraightSliders<Us>()) || (BishopAttacksNow(s) & EnemyDiagonalSliders<Us>()) ||
         (KnightAttacks[s] & Pieces(knight)) || (KingAttacks[s] & enemyKing) ||
         (pawnAttackers[s] & Pieces(S::EnemyPawn));
}

template <Color Us>
inline bool IsPinned(int s) {
  const int d = Direction[s][KingSquare<Us>()];
  BitBoard line, sliders;
  switch (d) {
    case 1: case -1:
      line = RankAttacks[s][(Occupied >> RankShift[s]) & 255];
      sliders = EnemyStraightSliders<Us>();
      break;
    case 8: case -8:
      line = FileAttacks[s][(OccupiedFileRotated >> FileShift[s]) & 255];
      sliders = EnemyStraightSliders<Us>();
      break;
    case 7: case -7:
      line = DiagAttacksA[s][(OccupiedDiagRotatedA >> DiagShiftA[s]) & 255];
      sliders = EnemyDiagonalSliders<Us>();
      break;
    case 9: case -9:
      line = DiagAttacksB[s][(OccupiedDiagRotatedB >> DiagShiftB[s]) & 255];
      sliders = EnemyDiagonalSliders<Us>();
      break;
    default:
      return false;
  }
  return (line & KingBB<Us>()) && (line & sliders);
}

// A pin needs an enemy slider on an empty-board line of the king; without one
// no piece is pin-tested at all.
template <Color Us>
inline bool PinPossible() {
  const int k = KingSquare<Us>();
  return (RookMask[k] & EnemyStraightSliders<Us>()) || (BishopMask[k] & EnemyDiagonalSliders<Us>());
}

// The king's slider attackers once the occupancies have been changed by the
// given square masks (flipped) and set masks (or-ed in).
template <Color Us>
inline BitBoard SliderCheckersAfter(BitBoard flip, BitBoard flipF, BitBoard flipA, BitBoard flipB,
                                    BitBoard set, BitBoard setF, BitBoard setA, BitBoard setB) {
  const int k = KingSquare<Us>();
  const BitBoard occ = (Occupied ^ flip) | set;
  const BitBoard occF = (OccupiedFileRotated ^ flipF) | setF;
  const BitBoard occA = (OccupiedDiagRotatedA ^ flipA) | setA;
  const BitBoard occB = (OccupiedDiagRotatedB ^ flipB) | setB;
  return (StraightAttacks(k, occ, occF) & EnemyStraightSliders<Us>()) |
         (DiagonalAttacks(k, occA, occB) & EnemyDiagonalSliders<Us>());
}

template <Color Us>
bool KeepsKingSafe(int from, int to) {
  const BitBoard checkers =
      SliderCheckersAfter<Us>(SquareMask[from], SquareMaskFileRotated[from], SquareMaskDiagA[from],
                              SquareMaskDiagB[from], SquareMask[to], SquareMaskFileRotated[to],
                              SquareMaskDiagA[to], SquareMaskDiagB[to]);
  // The piece standing on to is the one being captured: it attacks no more.
  return (checkers & ~SquareMask[to]) == 0;
}

template <Color Us>
bool EnPassantIsLegal(int from, int to) {
  const int v = to - Side<Us>::Forward;
  const BitBoard flip = SquareMask[from] | SquareMask[to] | SquareMask[v];
  const BitBoard flipF = SquareMaskFileRotated[from] | SquareMaskFileRotated[to] | SquareMaskFileRotated[v];
  const BitBoard flipA = SquareMaskDiagA[from] | SquareMaskDiagA[to] | SquareMaskDiagA[v];
  const BitBoard flipB = SquareMaskDiagB[from] | SquareMaskDiagB[to] | SquareMaskDiagB[v];
  return SliderCheckersAfter<Us>(flip, flipF, flipA, flipB, 0, 0, 0, 0) == 0;
}

// The piece-square change of a quiet move: the PSEDelta entry, read from the
// 3 KiB live table it is built from rather than from the 200 KiB delta table,
// which the generators would otherwise drag through the cache move by move.
inline int32_t QuietScore(uint32_t piece, int from, int to) { return PSETable[piece][to] - PSETable[piece][from]; }

// Appends to a list through a local count, written back once at the end.
struct Writer {
  MoveList& List;
  int32_t N;
  explicit Writer(MoveList& list, int32_t start = 0) : List(list), N(start) {}
  ~Writer() { List.Count = N; }
  inline void Add(Move m, int32_t score) {
    List.Moves[N] = m;
    List.Scores[N] = score;
    ++N;
  }
};

template <Color Us>
inline Move Encode(int from, int to, uint32_t piece, uint32_t captured, uint32_t kind) {
  return MakeMoveValue(uint32_t(from), uint32_t(to), piece, captured, Side<Us>::BlackBit, kind);
}

// The two en-passant captures onto target, the pawn on the higher file first.
// The capture generators make the full legality test; the evasions only ask
// whether the capturing pawn is pinned.
template <Color Us, bool FullTest>
inline void AddEnPassant(Writer& w, int target) {
  using S = Side<Us>;
  const int high = EpFile + S::EpPawnHigh, low = EpFile + S::EpPawnLow;
  if (EpFile < 7 && Board[high] == S::Pawn) {
    if (FullTest ? EnPassantIsLegal<Us>(high, target) : !IsPinned<Us>(high))
      w.Add(Encode<Us>(high, target, S::Pawn, S::EnemyPawn, KindEnPassant), EnPassantScore);
  }
  if (EpFile > 0 && Board[low] == S::Pawn) {
    if (FullTest ? EnPassantIsLegal<Us>(low, target) : !IsPinned<Us>(low))
      w.Add(Encode<Us>(low, target, S::Pawn, S::EnemyPawn, KindEnPassant), EnPassantScore);
  }
}

// Captures of every piece type onto the targets of a slider group.
template <Color Us, bool Straight>
inline void AddSliderCaptures(Writer& w, BitBoard group, BitBoard enemy, bool pin) {
  while (group) {
    const int from = PopSquare<Us>(group);
    const uint8_t mover = Board[from];
    BitBoard targets = (Straight ? RookAttacksNow(from) : BishopAttacksNow(from)) & enemy;
    const bool pinned = pin && IsPinned<Us>(from);
    while (targets) {
      const int to = PopSquare<Us>(targets);
      if (pinned && !KeepsKingSafe<Us>(from, to)) continue;
      const uint8_t victim = Board[to];
      w.Add(Encode<Us>(from, to, mover, victim, KindCapture), CaptureScore[mover][victim]);
    }
  }
}

template <Color Us>
inline void AddPawnCaptures(Writer& w, BitBoard targets, int step, bool pin) {
  using S = Side<Us>;
  while (targets) {
    const int to = PopSquare<Us>(targets);
    const int from = to - step;
    if (pin && IsPinned<Us>(from) && !KeepsKingSafe<Us>(from, to)) continue;
    const uint8_t victim = Board[to];
    if (IsLastRank<Us>(to))
      w.Add(Encode<Us>(from, to, S::Queen, victim, KindCapturePromotion), QueenPromotionScore + SeeValue[victim]);
    else
      w.Add(Encode<Us>(from, to, S::Pawn, victim, KindCapture), CaptureScore[S::Pawn][victim]);
  }
}

// Writes the captures from index start on, so that GenerateMoves can put
// them straight behind the quiet moves.
template <Color Us>
void GenerateCaptures(MoveList& list, int32_t start = 0) {
  using S = Side<Us>;
  Writer w(list, start);
  const int k = KingSquare<Us>();
  const bool pin = PinPossible<Us>();
  const BitBoard enemy = EnemyPieces<Us>();

  BitBoard knights = Pieces(S::Knight);
  while (knights) {
    const int from = PopSquare<Us>(knights);
    if (pin && IsPinned<Us>(from)) continue;
    BitBoard targets = KnightAttacks[from] & enemy;
    while (targets) {
      const int to = PopSquare<Us>(targets);
      const uint8_t victim = Board[to];
      w.Add(Encode<Us>(from, to, S::Knight, victim, KindCapture), CaptureScore[S::Knight][victim]);
    }
  }

  BitBoard kingTargets = KingAttacks[k] & enemy;
  while (kingTargets) {
    const int to = PopSquare<Us>(kingTargets);
    if (IsAttackedByEnemy<Us>(to)) continue;
    const uint8_t victim = Board[to];
    w.Add(Encode<Us>(k, to, S::King, victim, KindCapture), CaptureScore[S::King][victim]);
  }

  AddSliderCaptures<Us, true>(w, Pieces(S::Rook) | Pieces(S::Queen), enemy, pin);
  AddSliderCaptures<Us, false>(w, Pieces(S::Bishop) | Pieces(S::Queen), enemy, pin);

  const BitBoard pawns = Pieces(S::Pawn);
  BitBoard pushes = ShiftUp<Us>(pawns & S::SeventhRank, 8) & ~Occupied;
  while (pushes) {
    const int to = PopSquare<Us>(pushes);
    const int from = to - S::Forward;
    if (pin && IsPinned<Us>(from) && !KeepsKingSafe<Us>(from, to)) continue;
    w.Add(Encode<Us>(from, to, S::Queen, 0, KindPromotion), QueenPromotionScore);
  }
  AddPawnCaptures<Us>(w, ShiftUp<Us>(pawns & ~S::NoLeftCapture, 7) & enemy, S::CaptureLeft, pin);
  AddPawnCaptures<Us>(w, ShiftUp<Us>(pawns & ~S::NoRightCapture, 9) & enemy, S::CaptureRight, pin);

  if (EpFile < 128) AddEnPassant<Us, true>(w, EpFile + S::EpTarget);
}

// Quiet moves of a slider group onto the empty squares it reaches.
template <Color Us, bool Straight>
inline void AddSliderQuiets(Writer& w, BitBoard group, bool pin) {
  while (group) {
    const int from = PopSquare<Us>(group);
    const uint8_t mover = Board[from];
    BitBoard targets = (Straight ? RookAttacksNow(from) : BishopAttacksNow(from)) & ~Occupied;
    const bool pinned = pin && IsPinned<Us>(from);
    while (targets) {
      const int to = PopSquare<Us>(targets);
      if (pinned && !KeepsKingSafe<Us>(from, to)) continue;
      w.Add(Encode<Us>(from, to, mover, 0, KindQuiet), QuietScore(mover, from, to));
    }
  }
}

template <Color Us>
inline void AddUnderPromotions(Writer& w, int from, int to, uint32_t victim, uint32_t kind) {
  using S = Side<Us>;
  w.Add(Encode<Us>(from, to, S::Rook, victim, kind), UnderPromotionScore);
  w.Add(Encode<Us>(from, to, S::Bishop, victim, kind), UnderPromotionScore);
  w.Add(Encode<Us>(from, to, S::Knight, victim, kind), UnderPromotionScore);
}

template <Color Us>
inline void AddCaptureUnderPromotions(Writer& w, BitBoard targets, int step, bool pin) {
  while (targets) {
    const int to = PopSquare<Us>(targets);
    const int from = to - step;
    if (pin && IsPinned<Us>(from) && !KeepsKingSafe<Us>(from, to)) continue;
    AddUnderPromotions<Us>(w, from, to, Board[to], KindCapturePromotion);
  }
}

// Gives up a castling right whose rook has left its corner, keeping the key
// term of the rights in step.
inline void ClearCastleRight(uint32_t keep) {
  const uint32_t old = CastleRights;
  CastleRights &= keep;
  HashKey ^= CastleKeys[old] ^ CastleKeys[CastleRights];
}

template <Color Us>
inline void AddCastlings(Writer& w) {
  using S = Side<Us>;
  constexpr int base = S::HomeRankBase;
  constexpr uint32_t shortRight = Us == White ? 1 : 4, longRight = Us == White ? 2 : 8;
  const int king = base + 4;
  if ((CastleRights & longRight) && !(Occupied & (BitBoard(0x0E) << base)) &&
      !IsAttackedByEnemy<Us>(base + 3) && !IsAttackedByEnemy<Us>(base + 2)) {
    if (Board[base] == S::Rook)
      w.Add(Encode<Us>(king, base + 2, S::King, 0, KindCastleLong), CastleLongScore);
    else
      ClearCastleRight(15 & ~longRight);
  }
  if ((CastleRights & shortRight) && !(Occupied & (BitBoard(0x60) << base)) &&
      !IsAttackedByEnemy<Us>(base + 5) && !IsAttackedByEnemy<Us>(base + 6)) {
    if (Board[base + 7] == S::Rook)
      w.Add(Encode<Us>(king, base + 6, S::King, 0, KindCastleShort), CastleShortScore);
    else
      ClearCastleRight(15 & ~shortRight);
  }
}

template <Color Us>
void GenerateQuiets(MoveList& list) {
  using S = Side<Us>;
  Writer w(list);
  const int k = KingSquare<Us>();
  const bool pin = PinPossible<Us>();
  const BitBoard empty = ~Occupied;

  BitBoard knights = Pieces(S::Knight);
  while (knights) {
    const int from = PopSquare<Us>(knights);
    if (pin && IsPinned<Us>(from)) continue;
    BitBoard targets = KnightAttacks[from] & empty;
    while (targets) {
      const int to = PopSquare<Us>(targets);
      w.Add(Encode<Us>(from, to, S::Knight, 0, KindQuiet), QuietScore(S::Knight, from, to));
    }
  }

  BitBoard kingTargets = KingAttacks[k] & empty;
  while (kingTargets) {
    const int to = PopSquare<Us>(kingTargets);
    if (IsAttackedByEnemy<Us>(to)) continue;
    w.Add(Encode<Us>(k, to, S::King, 0, KindQuiet), QuietScore(S::King, k, to));
  }

  AddSliderQuiets<Us, true>(w, Pieces(S::Rook) | Pieces(S::Queen), pin);
  AddSliderQuiets<Us, false>(w, Pieces(S::Bishop) | Pieces(S::Queen), pin);

  const BitBoard pawns = Pieces(S::Pawn);
  const BitBoard singles = ShiftUp<Us>(pawns, 8) & empty;
  BitBoard doubles = ShiftUp<Us>(singles & S::ThirdRank, 8) & empty;
  while (doubles) {
    const int to = PopSquare<Us>(doubles);
    const int from = to - 2 * S::Forward;
    if (pin && IsPinned<Us>(from) && !KeepsKingSafe<Us>(from, to)) continue;
    w.Add(Encode<Us>(from, to, S::Pawn, 0, KindQuiet), QuietScore(S::Pawn, from, to));
  }
  BitBoard steps = singles;
  while (steps) {
    const int to = PopSquare<Us>(steps);
    const int from = to - S::Forward;
    if (pin && IsPinned<Us>(from) && !KeepsKingSafe<Us>(from, to)) continue;
    if (IsLastRank<Us>(to))
      AddUnderPromotions<Us>(w, from, to, 0, KindPromotion);
    else
      w.Add(Encode<Us>(from, to, S::Pawn, 0, KindQuiet), QuietScore(S::Pawn, from, to));
  }
  const BitBoard enemy = EnemyPieces<Us>();
  const BitBoard seventh = pawns & S::SeventhRank;
  AddCaptureUnderPromotions<Us>(w, ShiftUp<Us>(seventh & ~S::NoLeftCapture, 7) & enemy, S::CaptureLeft, pin);
  AddCaptureUnderPromotions<Us>(w, ShiftUp<Us>(seventh & ~S::NoRightCapture, 9) & enemy, S::CaptureRight, pin);

  AddCastlings<Us>(w);
}

template <Color Us> inline BitBoard OwnAttacksTo(int s) {
  if constexpr (Us == White) return WhiteAttacksTo(uint8_t(s)); else return BlackAttacksTo(uint8_t(s));
}
template <Color Us> inline BitBoard EnemyAttacksTo(int s) {
  if constexpr (Us == White) return BlackAttacksTo(uint8_t(s)); else return WhiteAttacksTo(uint8_t(s));
}
template <Color Us> inline BitBoard OwnBlockersTo(int s) {
  if constexpr (Us == White) return WhiteBlockersTo(uint8_t(s)); else return BlackBlockersTo(uint8_t(s));
}

// The first checker is the one the opponent's visiting order meets first.
template <Color Us>
inline int FirstChecker(BitBoard checkers) {
  if constexpr (Us == White) return BitScanReverse(checkers); else return BitScanForward(checkers);
}

// A king step straight away from a checking slider stays on its line: the
// king only hides the square behind it while still standing in the way. Every
// checker's line is excluded, so set-up positions with three or more checkers
// are answered soundly too; a pawn's diagonal is no such line.
template <Color Us>
inline bool StepsAlongCheckLine(int k, int to, BitBoard checkers) {
  const int step = Direction[k][to];
  while (checkers) {
    const int c = PopSquare<Us>(checkers);
    if (Direction[c][k] == step && Board[c] != Side<Us>::EnemyPawn) return true;
  }
  return false;
}

template <Color Us>
inline void AddKingEvasions(Writer& w, int k, BitBoard checkers) {
  using S = Side<Us>;
  BitBoard targets = KingAttacks[k] & ~OwnPieces<Us>();
  while (targets) {
    const int to = PopSquare<Us>(targets);
    if (IsAttackedByEnemy<Us>(to) || StepsAlongCheckLine<Us>(k, to, checkers)) continue;
    const uint8_t victim = Board[to];
    if (victim)
      w.Add(Encode<Us>(k, to, S::King, victim, KindCapture), CaptureScore[S::King][victim]);
    else
      w.Add(Encode<Us>(k, to, S::King, 0, KindQuiet), QuietScore(S::King, k, to));
  }
}

// The squares strictly between a sliding checker and the king.
inline bool SquaresBetween(int c, int k, BitBoard& between) {
  int d = Direction[c][k];
  if (d < 0) d = -d;
  switch (d) {
    case 1:
      between = RankAttacks[c][(Occupied >> RankShift[c]) & 255] & RankAttacks[k][(Occupied >> RankShift[k]) & 255];
      return true;
    case 7:
      between = DiagAttacksA[c][(OccupiedDiagRotatedA >> DiagShiftA[c]) & 255] &
                DiagAttacksA[k][(OccupiedDiagRotatedA >> DiagShiftA[k]) & 255];
      return true;
    case 8:
      between = FileAttacks[c][(OccupiedFileRotated >> FileShift[c]) & 255] &
                FileAttacks[k][(OccupiedFileRotated >> FileShift[k]) & 255];
      return true;
    case 9:
      between = DiagAttacksB[c][(OccupiedDiagRotatedB >> DiagShiftB[c]) & 255] &
                DiagAttacksB[k][(OccupiedDiagRotatedB >> DiagShiftB[k]) & 255];
      return true;
    default:
      return false;
  }
}

template <Color Us>
void GenerateEvasions(MoveList& list) {
  using S = Side<Us>;
  Writer w(list);
  const int k = KingSquare<Us>();
  const BitBoard checkers = EnemyAttacksTo<Us>(k);
  const int c = FirstChecker<Us>(checkers);

  AddKingEvasions<Us>(w, k, checkers);
  if (checkers != SquareMask[c]) return;  // a double check leaves only the king

  const uint8_t checker = Board[c];
  BitBoard capturers = OwnAttacksTo<Us>(c) & ~KingBB<Us>();
  while (capturers) {
    const int from = PopSquare<Us>(capturers);
    if (IsPinned<Us>(from)) continue;
    const uint8_t mover = Board[from];
    if (mover == S::Pawn && IsLastRank<Us>(c)) {
      w.Add(Encode<Us>(from, c, S::Queen, checker, KindCapturePromotion), QueenPromotionScore + SeeValue[checker]);
      AddUnderPromotions<Us>(w, from, c, checker, KindCapturePromotion);
    } else {
      w.Add(Encode<Us>(from, c, mover, checker, KindCapture), CheckerCaptureScore);
    }
  }

  if (EpFile < 128 && c == EpFile + S::EpChecker) AddEnPassant<Us, false>(w, EpFile + S::EpTarget);

  if (checker != S::EnemyQueen && checker != S::EnemyBishop && checker != S::EnemyRook) return;
  BitBoard between;
  if (!SquaresBetween(c, k, between)) {
    if constexpr (Us == White) WriteLine("DEBUG ERROR: sliding checking piece not in-line with white king!");
    return;
  }
  while (between) {
    const int b = PopSquare<Us>(between);
    BitBoard blockers = OwnBlockersTo<Us>(b);
    while (blockers) {
      const int from = PopSquare<Us>(blockers);
      if (IsPinned<Us>(from)) continue;
      const uint8_t mover = Board[from];
      if (mover == S::Pawn && IsLastRank<Us>(b)) {
        w.Add(Encode<Us>(from, b, S::Queen, 0, KindPromotion), QueenPromotionScore);
        AddUnderPromotions<Us>(w, from, b, 0, KindPromotion);
      } else {
        w.Add(Encode<Us>(from, b, mover, 0, KindQuiet), QuietScore(mover, from, b));
      }
    }
    if (EpFile < 128 && b == EpFile + S::EpTarget) AddEnPassant<Us, false>(w, b);
  }
}

template <Color Us>
void GenerateAll(MoveList& list) {
  if (InCheck) {
    GenerateEvasions<Us>(list);
    return;
  }
  // The quiet generator changes nothing the captures depend on (it may only
  // give up a castling right), so generating the captures after it, straight
  // into the list behind the quiet moves, gives the same list as generating
  // them first and copying them there.
  GenerateQuiets<Us>(list);
  GenerateCaptures<Us>(list, list.Count);
}

}  // namespace

void GenerateMoves(MoveList& list) {
  if (WhiteToMove) GenerateAll<White>(list); else GenerateAll<Black>(list);
}

void GenerateWhiteCaptures(MoveList& list) { GenerateCaptures<White>(list, 0); }
void GenerateBlackCaptures(MoveList& list) { GenerateCaptures<Black>(list, 0); }
void GenerateWhiteQuiets(MoveList& list) { GenerateQuiets<White>(list); }
void GenerateBlackQuiets(MoveList& list) { GenerateQuiets<Black>(list); }
void GenerateWhiteEvasions(MoveList& list) { GenerateEvasions<White>(list); }
void GenerateBlackEvasions(MoveList& list) { GenerateEvasions<Black>(list); }

bool WhiteCaptureKeepsKingSafe(uint8_t from, uint8_t to) { return KeepsKingSafe<White>(from, to); }
bool BlackCaptureKeepsKingSafe(uint8_t from, uint8_t to) { return KeepsKingSafe<Black>(from, to); }
bool WhiteQuietKeepsKingSafe(uint8_t from, uint8_t to) { return KeepsKingSafe<White>(from, to); }
bool BlackQuietKeepsKingSafe(uint8_t from, uint8_t to) { return KeepsKingSafe<Black>(from, to); }
bool WhiteEnPassantIsLegal(uint8_t from, uint8_t to) { return EnPassantIsLegal<White>(from, to); }
bool BlackEnPassantIsLegal(uint8_t from, uint8_t to) { return EnPassantIsLegal<Black>(from, to); }
