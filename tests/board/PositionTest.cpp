// Position set-up from FEN: syntax failures with their digit lines, the two
// validation groups, the choices for incomplete or impossible fields, the
// resets of a set-up, and the FEN text written back.
#include "board/Position.h"

#include <gtest/gtest.h>

#include <sstream>

#include "board/BoardTestSupport.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"
#include "search/UnitSearch.h"

namespace {

const std::string SyntaxMessage = "\r\nIllegal FEN: syntax is not recognized\r\n";

// The bytes of a validation failure with the given message lines.
std::string Rejection(std::initializer_list<const char*> lines) {
  std::string text = "\r\nIllegal FEN: ";
  for (const char* l : lines) text += std::string(l) + "\r\n";
  return text + "\r\n";
}

// Every derived field agrees with the board, and the game state is fresh.
void ExpectConsistentState() {
  EXPECT_EQ(ScratchDifferences(), "");
  EXPECT_EQ(MaterWrites, 0u);
  EXPECT_EQ(KeyHistoryCount, 1);
  EXPECT_EQ(HalfmoveClock, 0u);
  EXPECT_EQ(Ply, 0);
  EXPECT_EQ(GamePly, WhiteToMove ? 0 : 1);
}

class FenSetUp : public ::testing::Test {
 protected:
  void SetUp() override { EnsureBoardTables(); }
  // Installs a position that must be accepted silently.
  void Accept(const std::string& fen) {
    ASSERT_EQ(SetUpOutput(fen), "") << fen;
    ExpectConsistentState();
  }
  // Dirties everything a set-up resets, so the test can see the reset.
  void DirtyDependents() {
    KeyHistoryCount = 7;
    KeyHistory[7] = 0x1234;
    HalfmoveClock = 33;
    Ply = 5;
    LastScore = 17;
    PrevLastScore = -4;
    PSEScore = 999;
    MaterWrites = 3;
  }
};

TEST_F(FenSetUp, StartPositionIsSilentAndWritesBackExactly) {
  Accept(StartFEN);
  EXPECT_EQ(GetFEN(), StartFEN);
  EXPECT_EQ(CastleRights, 15u);
  EXPECT_EQ(EpFile, 128);
  EXPECT_EQ(Board[Sq("e1")], WhiteKing);
  EXPECT_EQ(Board[Sq("d8")], BlackQueen);
  EXPECT_EQ(MaterialSignature, 0x5AAA88u);
}

TEST_F(FenSetUp, GetFenOfEveryReferencePositionGivesBackItsFourFields) {
  ASSERT_EQ(ReferenceFens().size(), 86u);
  for (const std::string& fen : ReferenceFens()) {
    std::istringstream fields(fen);
    std::string placement, side, castling, ep;
    fields >> placement >> side >> castling >> ep;
    Accept(fen);
    EXPECT_EQ(GetFEN(), placement + " " + side + " " + castling + " " + ep + " 0 1");
  }
}

TEST_F(FenSetUp, EpdOperationsAndTheMoveCountersAreNotRead) {
  Accept("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - bm Bb5; id \"x\";");
  EXPECT_EQ(GetFEN(), "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 0 1");
  Accept("4k3/8/8/8/8/8/8/4K3 b - - 45 120");
  EXPECT_EQ(GetFEN(), "4k3/8/8/8/8/8/8/4K3 b - - 0 1");
  EXPECT_EQ(GamePly, 1);
}

TEST_F(FenSetUp, EnPassantFileFromEitherRankName) {
  Accept("4k3/8/8/4p3/8/8/8/4K3 w - e6");
  EXPECT_EQ(EpFile, 4);
  EXPECT_EQ(GetFEN(), "4k3/8/8/4p3/8/8/8/4K3 w - e6 0 1");
  Accept("4k3/8/8/4p3/8/8/8/4K3 w - e3");
  EXPECT_EQ(EpFile, 4);
  Accept("4k3/8/8/8/4P3/8/8/4K3 b - e3");
  EXPECT_EQ(EpFile, 4);
  EXPECT_EQ(GetFEN(), "4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1");
  Accept("4k3/8/8/8/P7/8/8/4K3 b - a6");
  EXPECT_EQ(EpFile, 0);
  Accept("4k3/8/8/7p/8/8/8/4K3 w - h");
  EXPECT_EQ(EpFile, 7);
}

TEST_F(FenSetUp, EnPassantFileWithoutAPossibleDoubleStepIsDropped) {
  for (const char* fen : {"4k3/8/8/8/8/8/8/4K3 w - e6",      // no pawn at all
                          "4k3/8/8/4P3/8/8/8/4K3 w - e6",    // own pawn, not the mover's enemy
                          "4k3/8/4n3/4p3/8/8/8/4K3 w - e6",  // target square taken
                          "4k3/4n3/8/4p3/8/8/8/4K3 w - e6",  // the pawn's start square taken
                          "4k3/8/8/8/4p3/8/8/4K3 w - e6",    // pawn on the wrong rank
                          "4k3/8/8/4p3/8/8/8/4K3 b - e3",    // Black to move: needs a white pawn on e4
                          "4k3/8/8/8/4P3/4N3/8/4K3 b - e3", "4k3/8/8/8/4P3/8/4N3/K7 b - e3"}) {
    Accept(fen);
    EXPECT_EQ(EpFile, 128) << fen;
  }
  EXPECT_EQ(GetFEN(), "4k3/8/8/8/4P3/8/4N3/K7 b - - 0 1");
}

TEST_F(FenSetUp, OddEnPassantCharactersAndEarlyEndsReadAsNone) {
  for (const char* fen : {"4k3/8/8/4p3/8/8/8/4K3 w - z", "4k3/8/8/4p3/8/8/8/4K3 w - E6",
                          "4k3/8/8/4p3/8/8/8/4K3 w - 6", "4k3/8/8/4p3/8/8/8/4K3 w -",
                          "4k3/8/8/4p3/8/8/8/4K3 w - ", "4k3/8/8/4p3/8/8/8/4K3 w",
                          "4k3/8/8/4p3/8/8/8/4K3 w "}) {
    Accept(fen);
    EXPECT_EQ(EpFile, 128) << fen;
    EXPECT_EQ(CastleRights, 0u) << fen;
  }
  // An empty castling field between two spaces.
  Accept("4k3/8/8/4p3/8/8/8/4K3 w  e6");
  EXPECT_EQ(EpFile, 4);
  EXPECT_EQ(CastleRights, 0u);
  // The castling field still counts when the text stops right after it.
  Accept("r3k2r/8/8/8/8/8/8/R3K2R b KQkq");
  EXPECT_EQ(CastleRights, 15u);
  EXPECT_EQ(EpFile, 128);
  Accept("r3k2r/8/8/8/8/8/8/R3K2R w Kq ");
  EXPECT_EQ(CastleRights, 9u);
}

TEST_F(FenSetUp, CastlingLettersInAnyOrder) {
  Accept("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w qkQK -");
  EXPECT_EQ(CastleRights, 15u);
  EXPECT_EQ(GetFEN(), StartFEN);
  Accept("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha -");
  EXPECT_EQ(CastleRights, 0u);
  Accept("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b q-Kx -");
  EXPECT_EQ(CastleRights, 9u);
  EXPECT_EQ(GetFEN(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b Kq - 0 1");
}

TEST_F(FenSetUp, CastlingRightOfAKingAwayFromHomeIsDroppedSilently) {
  Accept("r3k2r/8/8/8/8/8/8/R4K1R w KQkq -");
  EXPECT_EQ(CastleRights, 12u);
  Accept("r4k1r/8/8/8/8/8/8/R3K2R w KQkq -");
  EXPECT_EQ(CastleRights, 3u);
  EXPECT_EQ(GetFEN(), "r4k1r/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  Accept("r2k3r/8/8/8/8/8/8/R2K3R w KQkq -");
  EXPECT_EQ(CastleRights, 0u);
  EXPECT_EQ(HashKey, ComputeHashKey());
  // The rook test still runs on the right as written.
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/8/8/R2K4 w K -"), Rejection({"White couldn't castle short"}));
}

TEST_F(FenSetUp, DigitLinesOfSyntaxFailures) {
  const std::pair<const char*, const char*> cases[] = {
      {"rnbqkbnrr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "4\r\n"},
      {"rnbqkbn/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "1\r\n"},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/ w KQkq -", "3\r\n"},  // w is no piece
      {"8/8/8/8/8/8/8/8/8/8 w - -", "2\r\n"},
      {"rnbqkbnr/ppxppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "3\r\n"},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN0 w KQkq -", "3\r\n"},
      {"rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "3\r\n"},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq -", "3\r\n"},  // stops at the w
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq -", "3\r\n"},  // short last rank
      {"7/8/8/8/8/8/8/8 w - -", "1\r\n"},
      {"6/8/8/8/8/8/8/8 w - -", "1\r\n"},
      {"8/8/8/8/8/8/8/K7k w - -", "4\r\n"},
      {"8/8/8/8/8/8/8/54 w - -", "4\r\n"},
      {"8/8/8/8/8/8/8/8", ""},  // the text ends during the scan
      {"", ""},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", ""},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR ", ""},  // no side letter
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR W KQkq -", ""},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR  w KQkq -", ""},
  };
  for (const auto& [fen, digit] : cases)
    EXPECT_EQ(SetUpOutput(fen), std::string(digit) + SyntaxMessage) << "\"" << fen << "\"";
}

TEST_F(FenSetUp, SyntaxFailureLeavesEverythingAsItWas) {
  Accept("r3k2r/8/8/3pP3/8/8/8/R3K2R w KQkq d6");
  DirtyDependents();
  uint8_t board[64];
  std::copy(std::begin(Board), std::end(Board), board);
  const uint64_t key = HashKey;
  const std::string fen = GetFEN();
  for (const char* bad : {"8/8/8/8/8/8/8/9 w - -", "r3k2r/8/8/8/8/8/8/R3K2R x", "junk", ""}) {
    SetUpOutput(bad);
    EXPECT_EQ(GetFEN(), fen);
    EXPECT_TRUE(std::equal(std::begin(Board), std::end(Board), board));
    EXPECT_EQ(HashKey, key);
    EXPECT_EQ(KeyHistoryCount, 7);
    EXPECT_EQ(KeyHistory[7], 0x1234u);
    EXPECT_EQ(HalfmoveClock, 33u);
    EXPECT_EQ(Ply, 5);
    EXPECT_EQ(LastScore, 17);
    EXPECT_EQ(PrevLastScore, -4);
    EXPECT_EQ(PSEScore, 999);
    EXPECT_EQ(MaterWrites, 3u);
  }
}

TEST_F(FenSetUp, SetUpResetsTheGameState) {
  Accept("4k3/8/8/8/8/8/8/4K3 w - -");
  DirtyDependents();
  Accept("4k3/8/8/8/8/8/8/4K3 b - -");
  EXPECT_EQ(LastScore, 0);
  EXPECT_EQ(PrevLastScore, 0);
}

TEST_F(FenSetUp, FirstGroupMessages) {
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/8/8/P3K2p w - -"),
            Rejection({"Pawns on the first rank", "Pawns on the first rank"}));
  EXPECT_EQ(SetUpOutput("p3k3/8/8/8/8/8/8/4K3 w - -"), Rejection({"Pawns on the eighth rank"}));
  EXPECT_EQ(SetUpOutput("8/8/8/8/8/8/8/8 w - -"),
            Rejection({"Illegal White King's number", "Illegal Black King's number"}));
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/8/8/K3K3 w - -"), Rejection({"Illegal White King's number"}));
  EXPECT_EQ(SetUpOutput("4k2k/8/8/8/8/8/8/4K3 b - -"), Rejection({"Illegal Black King's number"}));
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/PPPPPPPP/P7/8/4K3 w - -"), Rejection({"Too many White pawns"}));
  EXPECT_EQ(SetUpOutput("4k3/p7/pppppppp/8/8/8/8/4K3 w - -"), Rejection({"Too many Black pawns"}));
  // All six tests run, in their order.
  EXPECT_EQ(SetUpOutput("pP6/pppppppp/8/8/8/8/PPPPPPPP/P6p w - -"),
            Rejection({"Pawns on the first rank", "Pawns on the first rank",
                       "Pawns on the eighth rank", "Pawns on the eighth rank",
                       "Illegal White King's number", "Illegal Black King's number",
                       "Too many White pawns", "Too many Black pawns"}));
}

TEST_F(FenSetUp, SecondGroupNeverJoinsTheFirst) {
  // Kings too close and too many knights, but a pawn on the first rank wins.
  EXPECT_EQ(SetUpOutput("8/8/8/8/NNNN4/PPPPPPPP/8/3Kk2P w - -"),
            Rejection({"Pawns on the first rank", "Too many White pawns"}));
}

TEST_F(FenSetUp, SecondGroupMessages) {
  const std::pair<const char*, const char*> cases[] = {
      {"4k3/8/8/8/8/1NNN4/PPPPPPPP/4K3 w - -", "Too many White Knights"},
      {"4k3/8/8/8/8/1BBB4/PPPPPPPP/4K3 w - -", "Too many White Bishops"},
      {"4k3/8/8/8/8/1RRR4/PPPPPPPP/4K3 w - -", "Too many White Rooks"},
      {"4k3/8/8/8/8/1QQ5/PPPPPPPP/4K3 b - -", "Too many White Queens"},
      {"4k3/pppppppp/1nnn4/8/8/8/8/4K3 w - -", "Too many Black Knights"},
      {"4k3/pppppppp/1bbb4/8/8/8/8/4K3 w - -", "Too many Black Bishops"},
      {"4k3/pppppppp/1rrr4/8/8/8/8/4K3 w - -", "Too many Black Rooks"},
      {"4k3/pppppppp/1qq5/8/8/8/8/4K3 w - -", "Too many Black Queens"},
      {"4k3/8/8/8/8/NNNBBBRR/1PPPPPPP/R3K3 w - -", "Too many White pieces"},
      {"4k2r/1ppppppp/nnnbbbrr/8/8/8/8/4K3 w - -", "Too many Black pieces"},
      {"4k3/8/8/8/8/8/8/1R2K3 w Q -", "White couldn't castle long"},
      {"4k3/8/8/8/8/8/8/4K1R1 w K -", "White couldn't castle short"},
      {"1r2k3/8/8/8/8/8/8/4K3 w q -", "Black couldn't castle long"},
      {"4k1r1/8/8/8/8/8/8/4K3 w k -", "Black couldn't castle short"},
      {"8/8/8/8/3kK3/8/8/8 w - -", "Kings are too close"},
      {"8/8/8/8/4K3/3k4/8/8 b - -", "Kings are too close"},
  };
  for (const auto& [fen, message] : cases) {
    EXPECT_EQ(SetUpOutput(fen), Rejection({message})) << fen;
    EXPECT_EQ(GetFEN(), StartFEN) << fen;
  }
  EXPECT_EQ(SetUpOutput("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/1NBQKBN1 w KQkq -"),
            Rejection({"White couldn't castle long", "White couldn't castle short"}));
  EXPECT_EQ(SetUpOutput("1nbqkbn1/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"),
            Rejection({"Black couldn't castle long", "Black couldn't castle short"}));
  // Every test runs, in order.
  EXPECT_EQ(SetUpOutput("1nnnbbb1/pppppppp/rrrqq3/8/3Kk3/RRRQQ3/PPPPPPPP/1NNNBBB1 w KQkq -"),
            Rejection({"Too many White Knights", "Too many White Bishops", "Too many White Rooks",
                       "Too many White Queens", "Too many Black Knights", "Too many Black Bishops",
                       "Too many Black Rooks", "Too many Black Queens", "Too many White pieces",
                       "Too many Black pieces", "White couldn't castle long",
                       "White couldn't castle short", "Black couldn't castle long",
                       "Black couldn't castle short", "Kings are too close"}));
}

TEST_F(FenSetUp, LimitsFollowThePawnsLeft) {
  Accept("4k3/8/8/8/8/1NNN4/PPPPPPP1/4K3 w - -");
  Accept("4k3/8/8/8/8/QQQQQQQQ/8/Q3K3 b - -");  // nine queens without pawns
  Accept("3qk3/8/8/8/8/NNNBBBRR/1PPPPPPP/4K3 w - -");  // 8 pieces with 7 pawns
  Accept("4k3/8/8/8/8/8/8/4K3 w - -");
  Accept("8/8/8/8/8/8/8/2K1k3 w - -");  // two files apart
  Accept("8/8/8/8/8/2k5/8/3K4 w - -");     // a knight's move apart
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/QQQQQQQQ/Q7/Q3K3 b - -"),
            Rejection({"Too many White Queens"}));
}

TEST_F(FenSetUp, FourOfAKindCannotSlipThroughTheSignature) {
  // A fourth knight would carry into the bishop count of a 2-bit field.
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/NNNN4/PPPPPPPP/4K3 w - -"),
            Rejection({"Too many White Knights"}));
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/QQQQ4/QQQQ4/PPPPPPPP/4K3 w - -"),
            Rejection({"Too many White Queens", "Too many White pieces"}));
  Accept("4k3/8/8/8/8/NNNN4/PPPP4/4K3 w - -");  // within the limits for four pawns
}

TEST_F(FenSetUp, SideNotToMoveInCheck) {
  const std::string message = "\r\nIllegal FEN: side not to move is in check\r\n";
  Accept("4k3/8/8/8/8/8/8/4K3 b - -");
  DirtyDependents();
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/8/8/4R1K1 w - -"), message);
  EXPECT_EQ(GetFEN(), StartFEN);
  ExpectConsistentState();
  EXPECT_EQ(LastScore, 0);
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/8/3p4/4K3 b - -"), message);
  EXPECT_EQ(SetUpOutput("4k3/8/5N2/8/8/8/8/4K3 w - -"), message);
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/8/8/b3K3 b - -"), "");  // a bishop does not attack along a rank
  EXPECT_EQ(SetUpOutput("4k3/8/8/8/8/8/8/q3K3 b - -"), message);
}

TEST_F(FenSetUp, SideToMoveInCheckIsAccepted) {
  Accept("4k3/8/8/8/8/8/8/4R1K1 b - -");
  EXPECT_TRUE(InCheck);
  Accept("4k3/8/8/8/8/8/3p4/4K3 w - -");
  EXPECT_TRUE(InCheck);
  Accept("4k3/8/8/8/8/8/8/5RK1 w - -");
  EXPECT_FALSE(InCheck);
}

TEST_F(FenSetUp, PlacementStopsAtTheFirstSpace) {
  // A stray space inside the placement passes the scan; the pieces after it
  // are not placed, so the kings are missing.
  EXPECT_EQ(SetUpOutput("4k3/8/8/8 /8/8/8/4K3 w - -"), Rejection({"Illegal White King's number"}));
}

TEST_F(FenSetUp, GetFenWritesRunsOfEmptySquares) {
  Accept("r6r/1k6/8/2p1p1p1/1P1P1P1P/8/6K1/R6R w - -");
  EXPECT_EQ(GetFEN(), "r6r/1k6/8/2p1p1p1/1P1P1P1P/8/6K1/R6R w - - 0 1");
  Accept("7k/8/8/8/8/8/8/K7 b - -");
  EXPECT_EQ(GetFEN(), "7k/8/8/8/8/8/8/K7 b - - 0 1");
  Accept("7k/8/8/8/8/8/8/K11111N1 w - -");  // single digits collapse into runs
  EXPECT_EQ(GetFEN(), "7k/8/8/8/8/8/8/K5N1 w - - 0 1");
}

TEST_F(FenSetUp, GetFenReadsTheCurrentState) {
  Accept(StartFEN);
  HalfmoveClock = 12;
  GamePly = 41;  // Black to move in move 21
  WhiteToMove = 0;
  EXPECT_EQ(GetFEN(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 12 21");
  GamePly = 255;
  EXPECT_EQ(GetFEN(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 12 128");
  CastleRights = 0;
  EpFile = 2;
  EXPECT_EQ(GetFEN(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - c3 12 128");
  WhiteToMove = 1;
  EXPECT_EQ(GetFEN(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - c6 12 128");
  Accept(StartFEN);
}

}  // namespace
