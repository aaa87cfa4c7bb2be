// Legal move generation: captures, quiet moves with castling, and check
// evasions. Legality is settled here, so MakeMove never has to test it.
//
// Each generator is written once as a template over the side to move; the
// colour constants below are all that differs between White and Black. White
// walks every set from the lowest square up, Black from the highest down, and
// that order is part of the result (divide output, move input matching and the
// random move choice all follow the list order).
#ifdef __BMI2__
#include <immintrin.h>
#endif

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
#ifdef __BMI2__
    b = _bzhi_u64(b, unsigned(s));  // s is the highest bit: keep those below it
#else
    b ^= BitBoard(1) << s;
#endif
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

// The lookups of UnitBitBoard.h on occupancies other than the board's own.
inline BitBoard LineAttacksOn(int s, BitBoard occ, BitBoard occFile) {
  return RankAttacks[s][(occ >> RankShift[s]) & 255] | FileAttacks[s][(occFile >> FileShift[s]) & 255];
}

inline BitBoard DiagonalAttacksOn(int s, BitBoard occA, BitBoard occB) {
  return DiagAttacksA[s][(occA >> DiagShiftA[s]) & 255] | DiagAttacksB[s][(occB >> DiagShiftB[s]) & 255];
}

// The generators ask these two questions for every king target and, in
// check, for every capturer and blocker; they are the board queries
// IsAttackedByBlack / IsAttackedByWhite and IsPinnedToWhiteKing /
// IsPinnedToBlackKing, written here again so that they inline into the
// generator loops.
template <Color Us>
inline bool IsAttackedByEnemy(int s) {
  using S = Side<Us>;
  constexpr uint8_t knight = Us == White ? BlackKnight : WhiteKnight;
  const BitBoard enemyKing = Us == White ? BlackKingBB : WhiteKingBB;
  const BitBoard* pawnAttackers = Us == White ? BlackPawnAttackersOf : WhitePawnAttackersOf;
  return (LineAttacks(s) & EnemyStraightSliders<Us>()) || (DiagonalAttacks(s) & EnemyDiagonalSliders<Us>()) ||
         (KnightAttacks[s] & Pieces(knight)) || (KingAttacks[s] & enemyKing) ||
         (pawnAttackers[s] & Pieces(S::EnemyPawn));
}

template <Color Us>
inline bool IsPinned(int s) {
  const int d = Direction[s][KingSquare<Us>()];
  BitBoard line, sliders;
  switch (d) {
    case 1: case -1:
      line = RankLookup(s);
      sliders = EnemyStraightSliders<Us>();
      break;
    case 8: case -8:
      line = FileLookup(s);
      sliders = EnemyStraightSliders<Us>();
      break;
    case 7: case -7:
      line = DiagALookup(s);
      sliders = EnemyDiagonalSliders<Us>();
      break;
    case 9: case -9:
      line = DiagBLookup(s);
      sliders = EnemyDiagonalSliders<Us>();
      break;
    default:
      return false;
  }
  return (line & KingBB<Us>()) && (line & sliders);
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
  return (LineAttacksOn(k, occ, occF) & EnemyStraightSliders<Us>()) |
         (DiagonalAttacksOn(k, occA, occB) & EnemyDiagonalSliders<Us>());
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

// Move sinks the generator bodies write to. A list sink appends moves and
// scores; a count sink only counts (perft's last ply needs nothing more); a
// null sink takes nothing, so that one body serves the quiet generator, the
// captures generator and both together without computing the unused half.
struct ListSink {
  static constexpr bool Active = true, CountOnly = false;
  // The list never overlaps the position or the tables: without saying so,
  // every store would force the tables read around it to be read again.
  Move* __restrict Moves;
  int32_t* __restrict Scores;
  int32_t N;
  ListSink(Move* moves, int32_t* scores) : Moves(moves), Scores(scores), N(0) {}
  explicit ListSink(MoveList& list) : ListSink(list.Moves, list.Scores) {}
  inline void Add(Move m, int32_t score) {
    Moves[N] = m;
    Scores[N] = score;
    ++N;
  }
  inline void AddAll(int32_t) {}
};

struct CountSink {
  static constexpr bool Active = true, CountOnly = true;
  int32_t N = 0;
  inline void Add(Move, int32_t) { ++N; }
  // For a set of targets that are all written without a further test.
  inline void AddAll(int32_t n) { N += n; }
};

struct NullSink {
  static constexpr bool Active = false;
  // Nothing reaches a sink that is not active, so nothing asks this.
  [[maybe_unused]] static constexpr bool CountOnly = false;
  int32_t N = 0;
  inline void Add(Move, int32_t) {}
  inline void AddAll(int32_t) {}
};

template <Color Us>
inline Move Encode(int from, int to, uint32_t piece, uint32_t captured, uint32_t kind) {
  return MakeMoveValue(uint32_t(from), uint32_t(to), piece, captured, Side<Us>::BlackBit, kind);
}

// The own pieces that IsPinned would report, found from the enemy sliders on
// the king's empty-board lines: a piece is pinned when it is the one piece
// between such a slider and the king, that is when the king and the slider
// both see it along their common line. Empty when the pin pre-test rules pins
// out, so the generators test a bit instead of making a query per piece.
template <Color Us>
inline BitBoard PinnedPieces() {
  const int k = KingSquare<Us>();
  BitBoard candidates = (RookMask[k] & EnemyStraightSliders<Us>()) | (BishopMask[k] & EnemyDiagonalSliders<Us>());
  BitBoard pinned = 0;
  while (candidates) {
    const int c = BitScanForward(candidates);
    candidates &= candidates - 1;
    switch (Direction[c][k]) {
      case 1: case -1:
        pinned |= RankLookup(k) & RankLookup(c);
        break;
      case 8: case -8:
        pinned |= FileLookup(k) & FileLookup(c);
        break;
      case 7: case -7:
        pinned |= DiagALookup(k) & DiagALookup(c);
        break;
      default:
        pinned |= DiagBLookup(k) & DiagBLookup(c);
        break;
    }
  }
  return pinned & OwnPieces<Us>();
}

// The two en-passant captures onto target, the pawn on the higher file first.
// Each goes through the full en-passant test, in check too. Asking only
// whether the capturing pawn is pinned would do in every position a game can
// reach, but a set-up position may hide a slider behind the pawn taken (a
// bishop behind a checking pawn that "has just" stepped past it): the capture
// would leave the king attacked, and the reply list would then hold a capture
// of the king, which nothing downstream expects.
template <Color Us, class Out>
inline void AddEnPassant(Out& w, int target) {
  using S = Side<Us>;
  const int high = EpFile + S::EpPawnHigh, low = EpFile + S::EpPawnLow;
  if (EpFile < 7 && Board[high] == S::Pawn && EnPassantIsLegal<Us>(high, target))
    w.Add(Encode<Us>(high, target, S::Pawn, S::EnemyPawn, KindEnPassant), EnPassantScore);
  if (EpFile > 0 && Board[low] == S::Pawn && EnPassantIsLegal<Us>(low, target))
    w.Add(Encode<Us>(low, target, S::Pawn, S::EnemyPawn, KindEnPassant), EnPassantScore);
}

// Moves of one piece onto a set of targets; a pinned piece's move is written
// only when it keeps the king safe.
template <Color Us, class Out>
inline void AddPieceQuiets(Out& w, int from, uint8_t mover, BitBoard targets, bool pinned) {
  if constexpr (Out::CountOnly) {
    if (!pinned) {
      w.AddAll(PopCount(targets));
      return;
    }
  }
  const int32_t* table = PSETable[mover];
  const int32_t origin = table[from];
  const Move base = Encode<Us>(from, 0, mover, 0, KindQuiet);
  if (!pinned) {
    while (targets) {
      const int to = PopSquare<Us>(targets);
      w.Add(base | Move(to) << 6, table[to] - origin);
    }
    return;
  }
  while (targets) {
    const int to = PopSquare<Us>(targets);
    if (KeepsKingSafe<Us>(from, to)) w.Add(base | Move(to) << 6, table[to] - origin);
  }
}

template <Color Us, class Out>
inline void AddPieceCaptures(Out& w, int from, uint8_t mover, BitBoard targets, bool pinned) {
  if constexpr (Out::CountOnly) {
    if (!pinned) {
      w.AddAll(PopCount(targets));
      return;
    }
  }
  while (targets) {
    const int to = PopSquare<Us>(targets);
    if (pinned && !KeepsKingSafe<Us>(from, to)) continue;
    const uint8_t victim = Board[to];
    w.Add(Encode<Us>(from, to, mover, victim, KindCapture), CaptureScore[mover][victim]);
  }
}

// A slider group (rooks and queens on lines, bishops and queens on
// diagonals), each piece's quiet moves to one sink and captures to the other.
template <Color Us, bool Straight, class QuietOut, class CaptureOut>
inline void AddSliderGroup(QuietOut& q, CaptureOut& c, BitBoard group, BitBoard pinned, BitBoard enemy) {
  while (group) {
    const int from = PopSquare<Us>(group);
    const uint8_t mover = Board[from];
    const BitBoard attacks = Straight ? LineAttacks(from) : DiagonalAttacks(from);
    const bool isPinned = (pinned >> from) & 1;
    if constexpr (QuietOut::Active) AddPieceQuiets<Us>(q, from, mover, attacks & ~Occupied, isPinned);
    if constexpr (CaptureOut::Active) AddPieceCaptures<Us>(c, from, mover, attacks & enemy, isPinned);
  }
}

template <Color Us, class Out>
inline void AddUnderPromotions(Out& w, int from, int to, uint32_t victim, uint32_t kind) {
  using S = Side<Us>;
  w.Add(Encode<Us>(from, to, S::Rook, victim, kind), UnderPromotionScore);
  w.Add(Encode<Us>(from, to, S::Bishop, victim, kind), UnderPromotionScore);
  w.Add(Encode<Us>(from, to, S::Knight, victim, kind), UnderPromotionScore);
}

// Pawn moves onto a target set, the origin step squares behind each target.
// Write(from, to) writes the move or moves of one pawn.
template <Color Us, class Out, class WriteFn>
inline void AddPawnMoves(Out& w, BitBoard targets, int step, BitBoard pinned, int perMove, WriteFn write) {
  if constexpr (Out::CountOnly) {
    if (!pinned) {
      w.AddAll(PopCount(targets) * perMove);
      return;
    }
  }
  if (!pinned) {
    while (targets) {
      const int to = PopSquare<Us>(targets);
      write(to - step, to);
    }
    return;
  }
  while (targets) {
    const int to = PopSquare<Us>(targets);
    const int from = to - step;
    if (((pinned >> from) & 1) && !KeepsKingSafe<Us>(from, to)) continue;
    write(from, to);
  }
}

// Gives up a castling right whose rook has left its corner, keeping the key
// term of the rights in step.
inline void ClearCastleRight(uint32_t keep) {
  const uint32_t old = CastleRights;
  CastleRights &= keep;
  HashKey ^= CastleKeys[old] ^ CastleKeys[CastleRights];
}

template <Color Us, class Out>
inline void AddCastlings(Out& w) {
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

// The legal moves of a side not in check: quiet moves (with the
// under-promotions and castlings) to q in the quiet generator's order,
// captures (with en passant and the queen promotions) to c in the captures
// generator's order. Both orders visit the piece groups in the same sequence,
// so one walk over the pieces serves both lists and each attack set and pin
// test is made once.
template <Color Us, class QuietOut, class CaptureOut>
void GenerateOutOfCheck(QuietOut& q, CaptureOut& c) {
  using S = Side<Us>;
  constexpr bool Quiets = QuietOut::Active, Captures = CaptureOut::Active;
  const int k = KingSquare<Us>();
  const BitBoard pinned = PinnedPieces<Us>();
  const BitBoard enemy = EnemyPieces<Us>();
  const BitBoard empty = ~Occupied;

  BitBoard knights = Pieces(S::Knight) & ~pinned;  // a pinned knight has no move
  while (knights) {
    const int from = PopSquare<Us>(knights);
    if constexpr (Quiets) AddPieceQuiets<Us>(q, from, S::Knight, KnightAttacks[from] & empty, false);
    if constexpr (Captures) AddPieceCaptures<Us>(c, from, S::Knight, KnightAttacks[from] & enemy, false);
  }

  if constexpr (Quiets) {
    BitBoard targets = KingAttacks[k] & empty;
    while (targets) {
      const int to = PopSquare<Us>(targets);
      if (!IsAttackedByEnemy<Us>(to)) q.Add(Encode<Us>(k, to, S::King, 0, KindQuiet), QuietScore(S::King, k, to));
    }
  }
  if constexpr (Captures) {
    BitBoard targets = KingAttacks[k] & enemy;
    while (targets) {
      const int to = PopSquare<Us>(targets);
      if (IsAttackedByEnemy<Us>(to)) continue;
      const uint8_t victim = Board[to];
      c.Add(Encode<Us>(k, to, S::King, victim, KindCapture), CaptureScore[S::King][victim]);
    }
  }

  AddSliderGroup<Us, true>(q, c, Pieces(S::Rook) | Pieces(S::Queen), pinned, enemy);
  AddSliderGroup<Us, false>(q, c, Pieces(S::Bishop) | Pieces(S::Queen), pinned, enemy);

  const BitBoard pawns = Pieces(S::Pawn);
  const BitBoard seventh = pawns & S::SeventhRank;
  if constexpr (Quiets) {
    const BitBoard singles = ShiftUp<Us>(pawns, 8) & empty;
    const BitBoard doubles = ShiftUp<Us>(singles & S::ThirdRank, 8) & empty;
    AddPawnMoves<Us>(q, doubles, 2 * S::Forward, pinned, 1, [&](int from, int to) {
      q.Add(Encode<Us>(from, to, S::Pawn, 0, KindQuiet), QuietScore(S::Pawn, from, to));
    });
    constexpr BitBoard lastRank = Us == White ? 0xFF00000000000000ull : 0xFFull;
    AddPawnMoves<Us>(q, singles & ~lastRank, S::Forward, pinned, 1, [&](int from, int to) {
      q.Add(Encode<Us>(from, to, S::Pawn, 0, KindQuiet), QuietScore(S::Pawn, from, to));
    });
    // Single steps are one walk in square order; the promotions among them
    // come from the last rank, which the visiting order reaches last for
    // either colour, so writing them after the other steps keeps the order.
    AddPawnMoves<Us>(q, singles & lastRank, S::Forward, pinned, 3, [&](int from, int to) {
      AddUnderPromotions<Us>(q, from, to, 0, KindPromotion);
    });
    const auto captureUnder = [&](int from, int to) {
      AddUnderPromotions<Us>(q, from, to, Board[to], KindCapturePromotion);
    };
    AddPawnMoves<Us>(q, ShiftUp<Us>(seventh & ~S::NoLeftCapture, 7) & enemy, S::CaptureLeft, pinned, 3, captureUnder);
    AddPawnMoves<Us>(q, ShiftUp<Us>(seventh & ~S::NoRightCapture, 9) & enemy, S::CaptureRight, pinned, 3, captureUnder);
    AddCastlings<Us>(q);
  }
  if constexpr (Captures) {
    AddPawnMoves<Us>(c, ShiftUp<Us>(seventh, 8) & empty, S::Forward, pinned, 1, [&](int from, int to) {
      c.Add(Encode<Us>(from, to, S::Queen, 0, KindPromotion), QueenPromotionScore);
    });
    const auto capture = [&](int from, int to) {
      const uint8_t victim = Board[to];
      if (IsLastRank<Us>(to))
        c.Add(Encode<Us>(from, to, S::Queen, victim, KindCapturePromotion), QueenPromotionScore + SeeValue[victim]);
      else
        c.Add(Encode<Us>(from, to, S::Pawn, victim, KindCapture), CaptureScore[S::Pawn][victim]);
    };
    AddPawnMoves<Us>(c, ShiftUp<Us>(pawns & ~S::NoLeftCapture, 7) & enemy, S::CaptureLeft, pinned, 1, capture);
    AddPawnMoves<Us>(c, ShiftUp<Us>(pawns & ~S::NoRightCapture, 9) & enemy, S::CaptureRight, pinned, 1, capture);
    if (EpFile < 128) AddEnPassant<Us>(c, EpFile + S::EpTarget);
  }
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

template <Color Us, class Out>
inline void AddKingEvasions(Out& w, int k, BitBoard checkers) {
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
      between = RankLookup(c) & RankLookup(k);
      return true;
    case 7:
      between = DiagALookup(c) & DiagALookup(k);
      return true;
    case 8:
      between = FileLookup(c) & FileLookup(k);
      return true;
    case 9:
      between = DiagBLookup(c) & DiagBLookup(k);
      return true;
    default:
      return false;
  }
}

template <Color Us, class Out>
void GenerateEvasions(Out& w) {
  using S = Side<Us>;
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

  if (EpFile < 128 && c == EpFile + S::EpChecker) AddEnPassant<Us>(w, EpFile + S::EpTarget);

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
    if (EpFile < 128 && b == EpFile + S::EpTarget) AddEnPassant<Us>(w, b);
  }
}

template <Color Us>
void GenerateQuiets(MoveList& list) {
  ListSink q(list);
  NullSink none;
  GenerateOutOfCheck<Us>(q, none);
  list.Count = q.N;
}

template <Color Us>
void GenerateCaptures(MoveList& list) {
  NullSink none;
  ListSink c(list);
  GenerateOutOfCheck<Us>(none, c);
  list.Count = c.N;
}

template <Color Us>
void GenerateEvasionList(MoveList& list) {
  ListSink w(list);
  GenerateEvasions<Us>(w);
  list.Count = w.N;
}

template <Color Us>
void GenerateAll(MoveList& list) {
  if (InCheck) {
    GenerateEvasionList<Us>(list);
    return;
  }
  // The captures go to a side buffer and then behind the quiet moves.
  Move captureMoves[MaxMoves];
  int32_t captureScores[MaxMoves];
  ListSink q(list);
  ListSink c(captureMoves, captureScores);
  GenerateOutOfCheck<Us>(q, c);
  for (int32_t i = 0; i < c.N; ++i) {
    list.Moves[q.N + i] = captureMoves[i];
    list.Scores[q.N + i] = captureScores[i];
  }
  list.Count = q.N + c.N;
}

template <Color Us>
int32_t CountAll() {
  CountSink q, c;
  if (InCheck) {
    GenerateEvasions<Us>(q);
    return q.N;
  }
  GenerateOutOfCheck<Us>(q, c);
  return q.N + c.N;
}

}  // namespace

void GenerateMoves(MoveList& list) {
  if (WhiteToMove) GenerateAll<White>(list); else GenerateAll<Black>(list);
}

void GenerateWhiteCaptures(MoveList& list) { GenerateCaptures<White>(list); }
void GenerateBlackCaptures(MoveList& list) { GenerateCaptures<Black>(list); }
void GenerateWhiteQuiets(MoveList& list) { GenerateQuiets<White>(list); }
void GenerateBlackQuiets(MoveList& list) { GenerateQuiets<Black>(list); }
void GenerateWhiteEvasions(MoveList& list) { GenerateEvasionList<White>(list); }
void GenerateBlackEvasions(MoveList& list) { GenerateEvasionList<Black>(list); }

int32_t CountMoves() { return WhiteToMove ? CountAll<White>() : CountAll<Black>(); }

bool WhiteCaptureKeepsKingSafe(uint8_t from, uint8_t to) { return KeepsKingSafe<White>(from, to); }
bool BlackCaptureKeepsKingSafe(uint8_t from, uint8_t to) { return KeepsKingSafe<Black>(from, to); }
bool WhiteQuietKeepsKingSafe(uint8_t from, uint8_t to) { return KeepsKingSafe<White>(from, to); }
bool BlackQuietKeepsKingSafe(uint8_t from, uint8_t to) { return KeepsKingSafe<Black>(from, to); }
bool WhiteEnPassantIsLegal(uint8_t from, uint8_t to) { return EnPassantIsLegal<White>(from, to); }
bool BlackEnPassantIsLegal(uint8_t from, uint8_t to) { return EnPassantIsLegal<Black>(from, to); }
