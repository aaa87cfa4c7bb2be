// Making and taking back every kind of move, and what each kind does to the
// rights, the clock, the keys, the signature and the piece-square sum.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "board/BoardTestSupport.h"

namespace {

void StartFrom(const char* fen) {
  EnsureBoardTables();
  SetPositionFromFEN(fen);
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

TEST(MakeMove, GeneratedAndBareCastlingGiveTheSameState) {
  for (bool black : {false, true}) {
    for (bool kingSide : {false, true}) {
      SCOPED_TRACE(std::to_string(black) + std::to_string(kingSide));
      const char* fen = black ? BlackCastles : Castles;
      uint32_t king = black ? BlackKing : WhiteKing;
      const char* from = black ? "e8" : "e1";
      std::string to = std::string(kingSide ? "g" : "c") + (black ? "8" : "1");
      StartFrom(fen);
      MakeMove(MoveOf(from, to.c_str(), king, 0, kingSide ? KindCastleShort : KindCastleLong));
      PositionState generated = CaptureState();
      StartFrom(fen);
      MakeMove(BareCastling(black, kingSide));
      EXPECT_EQ(StateDifferences(CaptureState(), generated), "");
    }
  }
}

TEST(MakeMove, WhiteKingSideCastlingFromAllRights) {
  StartFrom(Castles);
  HalfmoveClock = 9;
  uint64_t key = HashKey;
  MakeMove(BareCastling(false, true));
  EXPECT_EQ(Board[Sq("e1")], Empty);
  EXPECT_EQ(Board[Sq("h1")], Empty);
  EXPECT_EQ(Board[Sq("f1")], WhiteRook);
  EXPECT_EQ(Board[Sq("g1")], WhiteKing);
  EXPECT_EQ(WhiteKingSquare, 6);
  EXPECT_EQ(WhiteKingBB, BitBoard{1} << 6);
  EXPECT_EQ(CastleRights, 12u);
  EXPECT_EQ(HalfmoveClock, 0u);
  uint64_t expected = key ^ PieceKeys[WhiteKing][4] ^ PieceKeys[WhiteKing][6] ^ PieceKeys[WhiteRook][7] ^
                      PieceKeys[WhiteRook][5] ^ CastleKeys[15] ^ CastleKeys[12] ^ SideKey;
  EXPECT_EQ(HashKey, expected);
}

TEST(MakeMove, CastlingMovesThePieceSquareSumByTheCastlingDeltas) {
  StartFrom(Castles);
  int32_t score = PSEScore;
  MakeMove(BareCastling(false, false));
  EXPECT_EQ(PSEScore, score + CastleLongPSEDelta);
  StartFrom(BlackCastles);
  score = PSEScore;
  MakeMove(BareCastling(true, true));
  EXPECT_EQ(PSEScore, score - CastleShortPSEDelta);
}

TEST(MakeMove, DoubleStepSetsTheEnPassantFileWhateverCanTake) {
  StartFrom(StartFEN);
  uint64_t start = HashKey;
  MakeMove(MoveOf("e2", "e4", WhitePawn, 0, KindQuiet));
  EXPECT_EQ(EpFile, 4);
  EXPECT_EQ(HashKey, start ^ PieceKeys[WhitePawn][12] ^ PieceKeys[WhitePawn][28] ^ EpKeys[4] ^ SideKey);
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

TEST(MakeMove, KnightsBackHomeGiveTheStartKey) {
  StartFrom(StartFEN);
  uint64_t start = HashKey;
  MakeMove(MoveOf("g1", "f3", WhiteKnight, 0, KindQuiet));
  MakeMove(MoveOf("g8", "f6", BlackKnight, 0, KindQuiet));
  MakeMove(MoveOf("f3", "g1", WhiteKnight, 0, KindQuiet));
  MakeMove(MoveOf("f6", "g8", BlackKnight, 0, KindQuiet));
  EXPECT_EQ(HashKey, start);
  EXPECT_EQ(KeyHistoryCount, 5);
  EXPECT_EQ(KeyHistory[1], start);
  EXPECT_EQ(KeyHistory[5], start);
  EXPECT_EQ(HalfmoveClock, 4u);
}

TEST(MakeMove, LostRightsShowInTheKey) {
  StartFrom(StartFEN);
  const Move opening[] = {
      MoveOf("e2", "e4", WhitePawn, 0, KindQuiet), MoveOf("e7", "e5", BlackPawn, 0, KindQuiet),
      MoveOf("g1", "f3", WhiteKnight, 0, KindQuiet), MoveOf("g8", "f6", BlackKnight, 0, KindQuiet)};
  for (Move m : opening) MakeMove(m);
  uint64_t withRights = HashKey;
  MakeMove(MoveOf("e1", "e2", WhiteKing, 0, KindQuiet));
  MakeMove(MoveOf("e8", "e7", BlackKing, 0, KindQuiet));
  MakeMove(MoveOf("e2", "e1", WhiteKing, 0, KindQuiet));
  MakeMove(MoveOf("e7", "e8", BlackKing, 0, KindQuiet));
  EXPECT_EQ(CastleRights, 0u);
  EXPECT_EQ(EpFile, 128);
  EXPECT_EQ(HashKey, withRights ^ CastleKeys[15] ^ CastleKeys[0]);
  EXPECT_EQ(ScratchDifferences(), "");
}

TEST(MakeMove, EnPassantTakesThePawnBehindTheTarget) {
  StartFrom("4k3/8/8/3pP3/8/8/8/4K3 w - d");
  PositionState before = CaptureState();
  MakeMove(MoveOf("e5", "d6", WhitePawn, BlackPawn, KindEnPassant));
  int e5 = Sq("e5"), d6 = Sq("d6"), d5 = Sq("d5");
  EXPECT_EQ(Board[d5], Empty);
  EXPECT_EQ(Board[d6], WhitePawn);
  EXPECT_EQ(Board[e5], Empty);
  EXPECT_EQ(MaterialSignature, before.MaterialSignature - 1);
  EXPECT_EQ(PawnKey, before.PawnKey ^ WhitePawnKeys[e5] ^ WhitePawnKeys[d6] ^ BlackPawnKeys[d5]);
  EXPECT_EQ(OccupiedFileRotated, before.FileRotated ^ SquareMaskFileRotated[e5] ^ SquareMaskFileRotated[d6] ^
                                     SquareMaskFileRotated[d5]);
  EXPECT_EQ(OccupiedDiagRotatedA,
            before.DiagRotatedA ^ SquareMaskDiagA[e5] ^ SquareMaskDiagA[d6] ^ SquareMaskDiagA[d5]);
  EXPECT_EQ(OccupiedDiagRotatedB,
            before.DiagRotatedB ^ SquareMaskDiagB[e5] ^ SquareMaskDiagB[d6] ^ SquareMaskDiagB[d5]);
  EXPECT_EQ(PSEScore, before.PSEScore + PSEDelta[WhitePawn][e5][d6] - PSETable[BlackPawn][d5]);
}

TEST(MakeMove, PromotionsChangeSignatureKeysAndSum) {
  StartFrom("4k3/P7/8/8/8/8/8/4K3 w - -");
  PositionState before = CaptureState();
  int a7 = Sq("a7"), a8 = Sq("a8"), b7 = Sq("b7");
  MakeMove(MoveOf("a7", "a8", WhiteQueen, 0, KindPromotion));
  EXPECT_EQ(MaterialSignature, before.MaterialSignature + (1u << 22) - 16);
  EXPECT_EQ(PawnKey, before.PawnKey ^ WhitePawnKeys[a7]);
  EXPECT_EQ(PSEScore, before.PSEScore + PSETable[WhiteQueen][a8] - PSETable[WhitePawn][a7]);

  StartFrom("r3k3/1P6/8/8/8/8/8/4K3 w q -");
  before = CaptureState();
  MakeMove(MoveOf("b7", "a8", WhiteKnight, BlackRook, KindCapturePromotion));
  EXPECT_EQ(MaterialSignature, before.MaterialSignature + (1u << 10) - (1u << 16) - 16);
  EXPECT_EQ(OccupiedFileRotated, before.FileRotated ^ SquareMaskFileRotated[b7]);
  EXPECT_EQ(OccupiedDiagRotatedA, before.DiagRotatedA ^ SquareMaskDiagA[b7]);
  EXPECT_EQ(OccupiedDiagRotatedB, before.DiagRotatedB ^ SquareMaskDiagB[b7]);
  EXPECT_EQ(PSEScore, before.PSEScore + PSETable[WhiteKnight][a8] - PSETable[WhitePawn][b7] -
                          PSETable[BlackRook][a8]);
  EXPECT_EQ(CastleRights, 0u);  // the rook taken on a8 took its right
}

TEST(MakeMove, CheckFlagFollowsTheMove) {
  StartFrom("4k3/8/8/8/8/8/8/R3K3 w - -");
  MakeMove(MoveOf("a1", "a8", WhiteRook, 0, KindQuiet));
  EXPECT_TRUE(InCheck);
  MakeMove(MoveOf("e8", "e7", BlackKing, 0, KindQuiet));
  EXPECT_FALSE(InCheck);
  UnmakeMove();
  EXPECT_TRUE(InCheck);
  UnmakeMove();
  EXPECT_FALSE(InCheck);
}

TEST(MakeMove, ScriptedGameKeepsEveryDerivedField) {
  // Every kind on one board, each side in turn, checked after every move
  // and once more after taking the whole game back.
  StartFrom("r3k2r/1P4p1/8/3pP3/8/8/6p1/R3K2R w KQkq d");
  PositionState start = CaptureState();
  const Move game[] = {
      MoveOf("e5", "d6", WhitePawn, BlackPawn, KindEnPassant),
      MoveOf("g7", "g5", BlackPawn, 0, KindQuiet),
      MoveOf("b7", "a8", WhiteQueen, BlackRook, KindCapturePromotion),
      MoveOf("e8", "f7", BlackKing, 0, KindQuiet),
      MoveOf("d6", "d7", WhitePawn, 0, KindQuiet),
      MoveOf("g2", "h1", BlackKnight, WhiteRook, KindCapturePromotion),
      MoveOf("d7", "d8", WhiteRook, 0, KindPromotion),
      MoveOf("h1", "g3", BlackKnight, 0, KindQuiet),
      BareCastling(false, false),
      MoveOf("g5", "g4", BlackPawn, 0, KindQuiet),
      MoveOf("d8", "h8", WhiteRook, BlackRook, KindCapture),
      MoveOf("f7", "g6", BlackKing, 0, KindQuiet),
  };
  int n = 0;
  for (Move m : game) {
    SCOPED_TRACE(n++);
    MakeMove(m);
    EXPECT_EQ(ScratchDifferences(), "");
  }
  EXPECT_EQ(Ply, 12);
  for (size_t i = 0; i < std::size(game); i++) UnmakeMove();
  EXPECT_EQ(StateDifferences(CaptureState(), start), "");
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
