// Making and taking back every kind of move, and what each kind does to the
// rights, the clock, the keys, the signature and the piece-square sum.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "board/BoardTestSupport.h"

namespace {

void StartFrom(const char* fen) { SetFEN(fen); }

// A fixed linear congruential walk, so a failure repeats.
uint32_t NextRandom(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  return seed >> 8;
}

struct Case {
  const char* name;
  const char* fen;
  Move move;
};

const char* const Queens = "7k/8/8/2pbn3/2rQq3/8/8/K7 w - -";
const char* const BlackQueens = "k7/8/8/2RqQ3/2PBN3/8/8/7K b - -";
const char* const Castles = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
const char* const BlackCastles = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -";

std::vector<Case> EveryKind() {
  return {
      {"knight", StartFEN, MoveOf("g1", "f3", WhiteKnight, 0, KindQuiet)},
      {"pawn single step", StartFEN, MoveOf("e2", "e3", WhitePawn, 0, KindQuiet)},
      {"white double step", StartFEN, MoveOf("e2", "e4", WhitePawn, 0, KindQuiet)},
      {"black double step", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3",
       MoveOf("d7", "d5", BlackPawn, 0, KindQuiet)},
      {"king quiet", Castles, MoveOf("e1", "f1", WhiteKing, 0, KindQuiet)},
      {"black king quiet", BlackCastles, MoveOf("e8", "d8", BlackKing, 0, KindQuiet)},
      {"rook off corner", Castles, MoveOf("h1", "h5", WhiteRook, 0, KindQuiet)},
      {"black rook off corner", BlackCastles, MoveOf("a8", "a3", BlackRook, 0, KindQuiet)},
      {"takes pawn", Queens, MoveOf("d4", "c5", WhiteQueen, BlackPawn, KindCapture)},
      {"takes knight", Queens, MoveOf("d4", "e5", WhiteQueen, BlackKnight, KindCapture)},
      {"takes bishop", Queens, MoveOf("d4", "d5", WhiteQueen, BlackBishop, KindCapture)},
      {"takes rook", Queens, MoveOf("d4", "c4", WhiteQueen, BlackRook, KindCapture)},
      {"takes queen", Queens, MoveOf("d4", "e4", WhiteQueen, BlackQueen, KindCapture)},
      {"black takes pawn", BlackQueens, MoveOf("d5", "c4", BlackQueen, WhitePawn, KindCapture)},
      {"black takes knight", BlackQueens, MoveOf("d5", "e4", BlackQueen, WhiteKnight, KindCapture)},
      {"black takes bishop", BlackQueens, MoveOf("d5", "d4", BlackQueen, WhiteBishop, KindCapture)},
      {"black takes rook", BlackQueens, MoveOf("d5", "c5", BlackQueen, WhiteRook, KindCapture)},
      {"black takes queen", BlackQueens, MoveOf("d5", "e5", BlackQueen, WhiteQueen, KindCapture)},
      {"pawn takes pawn", "4k3/8/8/3p4/4P3/8/8/4K3 w - -", MoveOf("e4", "d5", WhitePawn, BlackPawn, KindCapture)},
      {"black pawn takes pawn", "4k3/8/8/3p4/4P3/8/8/4K3 b - -",
       MoveOf("d5", "e4", BlackPawn, WhitePawn, KindCapture)},
      {"king takes", "4k3/8/8/8/8/8/3n4/R3K2R w KQ -", MoveOf("e1", "d2", WhiteKing, BlackKnight, KindCapture)},
      {"black king takes", "r3k2r/3N4/8/8/8/8/8/4K3 b kq -", MoveOf("e8", "d7", BlackKing, WhiteKnight, KindCapture)},
      {"corner rook takes corner rook", "r3k3/8/8/8/8/8/8/R3K3 w Qq -",
       MoveOf("a1", "a8", WhiteRook, BlackRook, KindCapture)},
      {"black corner rook takes corner rook", "4k2r/8/8/8/8/8/8/4K2R b Kk -",
       MoveOf("h8", "h1", BlackRook, WhiteRook, KindCapture)},
      {"en passant", "4k3/8/8/3pP3/8/8/8/4K3 w - d", MoveOf("e5", "d6", WhitePawn, BlackPawn, KindEnPassant)},
      {"black en passant", "4k3/8/8/8/3pP3/8/8/4K3 b - e", MoveOf("d4", "e3", BlackPawn, WhitePawn, KindEnPassant)},
      {"promotes to queen", "4k3/P7/8/8/8/8/8/4K3 w - -", MoveOf("a7", "a8", WhiteQueen, 0, KindPromotion)},
      {"promotes to rook", "4k3/P7/8/8/8/8/8/4K3 w - -", MoveOf("a7", "a8", WhiteRook, 0, KindPromotion)},
      {"promotes to bishop", "4k3/P7/8/8/8/8/8/4K3 w - -", MoveOf("a7", "a8", WhiteBishop, 0, KindPromotion)},
      {"promotes to knight", "4k3/P7/8/8/8/8/8/4K3 w - -", MoveOf("a7", "a8", WhiteKnight, 0, KindPromotion)},
      {"black promotes to queen", "4k3/8/8/8/8/8/p7/4K3 b - -", MoveOf("a2", "a1", BlackQueen, 0, KindPromotion)},
      {"black promotes to rook", "4k3/8/8/8/8/8/p7/4K3 b - -", MoveOf("a2", "a1", BlackRook, 0, KindPromotion)},
      {"black promotes to bishop", "4k3/8/8/8/8/8/p7/4K3 b - -", MoveOf("a2", "a1", BlackBishop, 0, KindPromotion)},
      {"black promotes to knight", "4k3/8/8/8/8/8/p7/4K3 b - -", MoveOf("a2", "a1", BlackKnight, 0, KindPromotion)},
      {"takes rook, promotes to queen", "r3k3/1P6/8/8/8/8/8/4K3 w q -",
       MoveOf("b7", "a8", WhiteQueen, BlackRook, KindCapturePromotion)},
      {"takes rook, promotes to knight", "r3k3/1P6/8/8/8/8/8/4K3 w q -",
       MoveOf("b7", "a8", WhiteKnight, BlackRook, KindCapturePromotion)},
      {"takes bishop, promotes to rook", "1b2k3/P7/8/8/8/8/8/4K3 w - -",
       MoveOf("a7", "b8", WhiteRook, BlackBishop, KindCapturePromotion)},
      {"takes knight, promotes to bishop", "1n2k3/P7/8/8/8/8/8/4K3 w - -",
       MoveOf("a7", "b8", WhiteBishop, BlackKnight, KindCapturePromotion)},
      {"black takes rook, promotes to queen", "4k3/8/8/8/8/8/1p6/R3K3 b Q -",
       MoveOf("b2", "a1", BlackQueen, WhiteRook, KindCapturePromotion)},
      {"black takes queen, promotes to knight", "4k3/8/8/8/8/8/1p6/Q3K3 b - -",
       MoveOf("b2", "a1", BlackKnight, WhiteQueen, KindCapturePromotion)},
      {"black takes knight, promotes to rook", "4k3/8/8/8/8/8/1p6/2N1K3 b - -",
       MoveOf("b2", "c1", BlackRook, WhiteKnight, KindCapturePromotion)},
      {"black takes bishop, promotes to bishop", "4k3/8/8/8/8/8/1p6/2B1K3 b - -",
       MoveOf("b2", "c1", BlackBishop, WhiteBishop, KindCapturePromotion)},
      {"castles king side", Castles, MoveOf("e1", "g1", WhiteKing, 0, KindCastleShort)},
      {"castles queen side", Castles, MoveOf("e1", "c1", WhiteKing, 0, KindCastleLong)},
      {"black castles king side", BlackCastles, MoveOf("e8", "g8", BlackKing, 0, KindCastleShort)},
      {"black castles queen side", BlackCastles, MoveOf("e8", "c8", BlackKing, 0, KindCastleLong)},
      {"bare king side castling", Castles, BareCastling(false, true)},
      {"bare queen side castling", Castles, BareCastling(false, false)},
      {"bare black king side castling", BlackCastles, BareCastling(true, true)},
      {"bare black queen side castling", BlackCastles, BareCastling(true, false)},
      {"gives check", "4k3/8/8/8/8/8/8/R3K3 w - -", MoveOf("a1", "a8", WhiteRook, 0, KindQuiet)},
      {"out of check", "4k3/8/8/8/8/8/8/r3K3 w - -", MoveOf("e1", "e2", WhiteKing, 0, KindQuiet)},
  };
}

}  // namespace

TEST(MakeMove, EveryKindKeepsDerivedFieldsAndTakesBackExactly) {
  for (const Case& c : EveryKind()) {
    SCOPED_TRACE(c.name);
    StartFrom(c.fen);
    HalfmoveClock = 300;  // a clock past one byte must come back whole
    PositionState before = CaptureState();
    MakeMove(c.move);
    EXPECT_EQ(ScratchDifferences(), "");
    EXPECT_EQ(WhiteToMove, before.WhiteToMove ? 0 : 1);
    EXPECT_EQ(Ply, before.Ply + 1);
    EXPECT_EQ(GamePly, static_cast<uint8_t>(before.GamePly + 1));
    EXPECT_EQ(KeyHistoryCount, before.KeyHistoryCount + 1);
    EXPECT_EQ(UndoStack[Ply].move, c.move);
    UnmakeMove();
    EXPECT_EQ(StateDifferences(CaptureState(), before), "");
  }
}

TEST(MakeMove, CastlingMovesKingAndRookAndTheBareValueDoesTheSame) {
  struct CastlingCase {
    bool black, kingSide;
    const char *from, *to, *rookFrom, *rookTo;
    uint32_t rights;
  };
  const CastlingCase cases[] = {{false, true, "e1", "g1", "h1", "f1", 12},
                                {false, false, "e1", "c1", "a1", "d1", 12},
                                {true, true, "e8", "g8", "h8", "f8", 3},
                                {true, false, "e8", "c8", "a8", "d8", 3}};
  for (const CastlingCase& c : cases) {
    SCOPED_TRACE(c.to);
    const uint32_t king = c.black ? BlackKing : WhiteKing;
    StartFrom(c.black ? BlackCastles : Castles);
    MakeMove(MoveOf(c.from, c.to, king, 0, c.kingSide ? KindCastleShort : KindCastleLong));
    EXPECT_EQ(Board[Sq(c.from)], Empty);
    EXPECT_EQ(Board[Sq(c.rookFrom)], Empty);
    EXPECT_EQ(Board[Sq(c.to)], king);
    EXPECT_EQ(Board[Sq(c.rookTo)], c.black ? BlackRook : WhiteRook);
    EXPECT_EQ(CastleRights, c.rights);
    const PositionState generated = CaptureState();
    StartFrom(c.black ? BlackCastles : Castles);
    MakeMove(BareCastling(c.black, c.kingSide));
    EXPECT_EQ(StateDifferences(CaptureState(), generated), "");
  }
}

TEST(MakeMove, DoubleStepSetsTheEnPassantFileWhateverCanTake) {
  StartFrom(StartFEN);
  MakeMove(MoveOf("e2", "e4", WhitePawn, 0, KindQuiet));
  EXPECT_EQ(EpFile, 4);
  EXPECT_EQ(ScratchDifferences(), "");
  MakeMove(MoveOf("g8", "f6", BlackKnight, 0, KindQuiet));
  EXPECT_EQ(EpFile, 128);
  EXPECT_EQ(ScratchDifferences(), "");
  MakeMove(MoveOf("b1", "c3", WhiteKnight, 0, KindQuiet));
  MakeMove(MoveOf("d7", "d5", BlackPawn, 0, KindQuiet));
  EXPECT_EQ(EpFile, 3);
  EXPECT_EQ(ScratchDifferences(), "");
  // A single step right after a double step drops the file.
  MakeMove(MoveOf("a2", "a3", WhitePawn, 0, KindQuiet));
  EXPECT_EQ(EpFile, 128);
  EXPECT_EQ(ScratchDifferences(), "");
}

TEST(MakeMove, HalfmoveClockCountsOnlyQuietPieceMoves) {
  struct ClockCase {
    const char* fen;
    Move move;
    uint32_t after;
  };
  const ClockCase cases[] = {
      {StartFEN, MoveOf("g1", "f3", WhiteKnight, 0, KindQuiet), 8},
      {"4k3/8/8/8/8/8/8/2B1K3 w - -", MoveOf("c1", "g5", WhiteBishop, 0, KindQuiet), 8},
      {Castles, MoveOf("a1", "a4", WhiteRook, 0, KindQuiet), 8},
      {"4k3/8/8/8/8/8/8/3QK3 w - -", MoveOf("d1", "d7", WhiteQueen, 0, KindQuiet), 8},
      {Castles, MoveOf("e1", "d1", WhiteKing, 0, KindQuiet), 8},
      {StartFEN, MoveOf("e2", "e3", WhitePawn, 0, KindQuiet), 0},
      {StartFEN, MoveOf("e2", "e4", WhitePawn, 0, KindQuiet), 0},
      {Queens, MoveOf("d4", "e4", WhiteQueen, BlackQueen, KindCapture), 0},
      {Castles, BareCastling(false, true), 0},
      {BlackCastles, BareCastling(true, false), 0},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d", MoveOf("e5", "d6", WhitePawn, BlackPawn, KindEnPassant), 0},
      {"4k3/P7/8/8/8/8/8/4K3 w - -", MoveOf("a7", "a8", WhiteKnight, 0, KindPromotion), 0},
  };
  for (const ClockCase& c : cases) {
    StartFrom(c.fen);
    HalfmoveClock = 7;
    MakeMove(c.move);
    EXPECT_EQ(HalfmoveClock, c.after) << c.fen;
    UnmakeMove();
    EXPECT_EQ(HalfmoveClock, 7u) << c.fen;
  }
}

TEST(MakeMove, TakingBackKeepsTheWholeHalfmoveClock) {
  StartFrom(StartFEN);
  for (uint32_t clock : {255u, 256u, 300u, 100000u}) {
    HalfmoveClock = clock;
    MakeMove(MoveOf("g1", "f3", WhiteKnight, 0, KindQuiet));
    EXPECT_EQ(HalfmoveClock, clock + 1);
    MakeMove(MoveOf("e7", "e5", BlackPawn, 0, KindQuiet));
    EXPECT_EQ(HalfmoveClock, 0u);
    UnmakeMove();
    EXPECT_EQ(HalfmoveClock, clock + 1);
    UnmakeMove();
    EXPECT_EQ(HalfmoveClock, clock);
  }
}

TEST(MakeMove, RookAndKingMovesDropTheirRights) {
  StartFrom(Castles);
  MakeMove(MoveOf("h1", "h3", WhiteRook, 0, KindQuiet));
  EXPECT_EQ(CastleRights, 14u);
  MakeMove(MoveOf("a8", "b8", BlackRook, 0, KindQuiet));
  EXPECT_EQ(CastleRights, 6u);
  MakeMove(MoveOf("h3", "h1", WhiteRook, 0, KindQuiet));
  EXPECT_EQ(CastleRights, 6u);  // coming back does not restore the right
  MakeMove(MoveOf("e8", "e7", BlackKing, 0, KindQuiet));
  EXPECT_EQ(CastleRights, 2u);
  EXPECT_EQ(ScratchDifferences(), "");

  StartFrom("4k3/8/8/8/8/8/3n4/R3K2R w KQ -");
  MakeMove(MoveOf("e1", "d2", WhiteKing, BlackKnight, KindCapture));
  EXPECT_EQ(CastleRights, 0u);
  EXPECT_EQ(ScratchDifferences(), "");

  StartFrom("4k3/8/8/8/n7/8/8/R3K2R w KQ -");
  MakeMove(MoveOf("a1", "a4", WhiteRook, BlackKnight, KindCapture));
  EXPECT_EQ(CastleRights, 1u);
  EXPECT_EQ(ScratchDifferences(), "");
}

// A rook taken on its corner takes its right with it at once; otherwise
// another rook reaching the corner could castle with it.
TEST(MakeMove, RookTakenOnItsCornerLosesItsRight) {
  StartFrom("4k1r1/7R/8/8/8/8/6b1/4K2R b K -");
  MakeMove(MoveOf("g2", "h1", BlackBishop, WhiteRook, KindCapture));
  EXPECT_EQ(CastleRights, 0u);
  EXPECT_EQ(ScratchDifferences(), "");
  MakeMove(MoveOf("h7", "h1", WhiteRook, BlackBishop, KindCapture));
  EXPECT_EQ(CastleRights, 0u);
  MakeMove(MoveOf("g8", "h8", BlackRook, 0, KindQuiet));
  EXPECT_EQ(CastleRights, 0u);
  EXPECT_EQ(ScratchDifferences(), "");
  // With a white rook on h1 again, no castling may appear.
  MoveList list;
  GenerateMoves(list);
  for (int i = 0; i < list.Count; i++) EXPECT_NE(MoveKind(list.Moves[i]), KindCastleShort);
  UnmakeMove();
  UnmakeMove();
  UnmakeMove();
  EXPECT_EQ(CastleRights, 1u);
  EXPECT_EQ(ScratchDifferences(), "");
}

TEST(MakeMove, EveryCornerCaptureDropsThatCornersRight) {
  struct CornerCase {
    const char* fen;
    Move move;
    uint32_t after;
  };
  const CornerCase cases[] = {
      {"r3k2r/8/8/8/8/8/6b1/R3K2R b KQkq -", MoveOf("g2", "h1", BlackBishop, WhiteRook, KindCapture), 14},
      {"r3k2r/8/8/8/8/8/1b6/R3K2R b KQkq -", MoveOf("b2", "a1", BlackBishop, WhiteRook, KindCapture), 13},
      {"r3k2r/6B1/8/8/8/8/8/R3K2R w KQkq -", MoveOf("g7", "h8", WhiteBishop, BlackRook, KindCapture), 11},
      {"r3k2r/1B6/8/8/8/8/8/R3K2R w KQkq -", MoveOf("b7", "a8", WhiteBishop, BlackRook, KindCapture), 7},
      // A rook that leaves its corner by taking the other corner's rook.
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", MoveOf("h1", "h8", WhiteRook, BlackRook, KindCapture), 10},
      // A pawn that takes a corner rook as it promotes.
      {"r3k2r/1P6/8/8/8/8/8/R3K2R w KQkq -", MoveOf("b7", "a8", WhiteQueen, BlackRook, KindCapturePromotion), 7},
      {"r3k2r/8/8/8/8/8/6p1/R3K2R b KQkq -", MoveOf("g2", "h1", BlackKnight, WhiteRook, KindCapturePromotion), 14},
  };
  for (const CornerCase& c : cases) {
    SCOPED_TRACE(c.fen);
    StartFrom(c.fen);
    PositionState before = CaptureState();
    MakeMove(c.move);
    EXPECT_EQ(CastleRights, c.after);
    EXPECT_EQ(ScratchDifferences(), "");
    UnmakeMove();
    EXPECT_EQ(StateDifferences(CaptureState(), before), "");
  }
}

TEST(MakeMove, EnPassantTakesThePawnBehindTheTarget) {
  StartFrom("4k3/8/8/3pP3/8/8/8/4K3 w - d");
  MakeMove(MoveOf("e5", "d6", WhitePawn, BlackPawn, KindEnPassant));
  EXPECT_EQ(Board[Sq("d5")], Empty);
  EXPECT_EQ(Board[Sq("d6")], WhitePawn);
  EXPECT_EQ(Board[Sq("e5")], Empty);
  EXPECT_EQ(ScratchDifferences(), "");
}

TEST(NullMove, TwoNullMovesCancel) {
  StartFrom("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  PositionState before = CaptureState();
  MakeNullMove();
  EXPECT_EQ(EpFile, 128);
  EXPECT_EQ(WhiteToMove, 1);
  // The en-passant term stays in the key while the null move stands.
  EXPECT_EQ(HashKey, before.HashKey ^ 0x12345678FEDCBA90ull);
  MakeNullMove();
  EXPECT_EQ(EpFile, 128);
  EXPECT_EQ(HashKey, before.HashKey);
  UnmakeNullMove();
  EXPECT_EQ(EpFile, 128);
  UnmakeNullMove();
  EXPECT_EQ(StateDifferences(CaptureState(), before), "");
}

TEST(NullMove, MovesUnderANullMoveTakeBackCleanly) {
  StartFrom("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  PositionState before = CaptureState();
  MakeNullMove();
  PositionState underNull = CaptureState();
  MakeMove(MoveOf("d2", "d4", WhitePawn, 0, KindQuiet));
  EXPECT_EQ(EpFile, 3);
  MakeNullMove();
  MakeMove(MoveOf("g1", "f3", WhiteKnight, 0, KindQuiet));
  UnmakeMove();
  UnmakeNullMove();
  EXPECT_EQ(EpFile, 3);
  UnmakeMove();
  EXPECT_EQ(StateDifferences(CaptureState(), underNull), "");
  UnmakeNullMove();
  EXPECT_EQ(StateDifferences(CaptureState(), before), "");
  EXPECT_EQ(ScratchDifferences(), "");
}

// Long random walks from the reference positions, a null move now and then,
// reach what no hand-written case does.
TEST(MakeMove, RandomWalksStayExactAndComeBack) {
  uint32_t seed = 12345;
  for (const std::string& fen : ReferenceFens()) {
    SCOPED_TRACE(fen);
    SetFEN(fen);
    PositionState before = CaptureState();
    int depth = 0;
    for (; depth < 120; depth++) {
      MoveList list;
      GenerateMoves(list);
      if (list.Count == 0) break;
      MakeMove(list.Moves[NextRandom(seed) % static_cast<uint32_t>(list.Count)]);
      ASSERT_EQ(ScratchDifferences(), "") << "after ply " << depth;
      // A null move now and then, where the search would try one.
      if (!InCheck && NextRandom(seed) % 8 == 0) {
        PositionState beforeNull = CaptureState();
        MakeNullMove();
        UnmakeNullMove();
        ASSERT_EQ(StateDifferences(CaptureState(), beforeNull), "");
      }
    }
    for (int i = 0; i < depth; i++) UnmakeMove();
    ASSERT_EQ(StateDifferences(CaptureState(), before), "");
  }
}
