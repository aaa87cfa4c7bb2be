#include "eval/UnitPSE.h"

#include <gtest/gtest.h>

#include "board/BoardTestSupport.h"

namespace {

constexpr int Mirror(int s) { return s ^ 56; }

int32_t Opening(uint8_t code, const char* square) {
  return PSEBaseTables[code][PhaseOpening][Sq(square)];
}
int32_t Endgame(uint8_t code, const char* square) {
  return PSEBaseTables[code][PhaseEndgame][Sq(square)];
}

class PSETest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureBoardTables(); }
};

TEST_F(PSETest, KnightCornersOfTheFarSide) {
  EXPECT_EQ(Opening(WhiteKnight, "a8"), -120);
  EXPECT_EQ(Opening(WhiteKnight, "h8"), -120);
  EXPECT_EQ(Opening(WhiteKnight, "b8"), -10 - 11);  // its neighbours keep the formula
  EXPECT_EQ(Opening(WhiteKnight, "a1"), -58);
  EXPECT_EQ(Opening(BlackKnight, "a1"), 120);
  EXPECT_EQ(Opening(BlackKnight, "h1"), 120);
  EXPECT_EQ(Opening(BlackKnight, "a8"), 58);
}

TEST_F(PSETest, PawnTables) {
  EXPECT_EQ(Opening(WhitePawn, "e2"), 2);
  EXPECT_EQ(Opening(WhitePawn, "e4"), 4);
  EXPECT_EQ(Opening(WhitePawn, "a2"), -23);
  EXPECT_EQ(Endgame(WhitePawn, "e2"), -13);
  EXPECT_EQ(Endgame(WhitePawn, "e7"), -8);
  EXPECT_EQ(Endgame(WhitePawn, "a7"), -2);
  EXPECT_EQ(Endgame(BlackPawn, "e7"), 13);
  for (int f = 0; f < 8; ++f) {
    for (uint8_t code : {WhitePawn, BlackPawn}) {
      for (int phase : {PhaseOpening, PhaseEndgame}) {
        EXPECT_EQ(PSEBaseTables[code][phase][f], 0);
        EXPECT_EQ(PSEBaseTables[code][phase][56 + f], 0);
      }
    }
  }
}

TEST_F(PSETest, KingAndQueenTables) {
  EXPECT_EQ(Opening(WhiteKing, "g1"), 49);
  EXPECT_EQ(Opening(WhiteKing, "e1"), -1);
  EXPECT_EQ(Opening(WhiteKing, "c1"), 19);
  EXPECT_EQ(Endgame(WhiteKing, "e4"), 22);
  EXPECT_EQ(Endgame(WhiteKing, "a1"), -73);
  for (int s = 0; s < 64; ++s) {
    EXPECT_EQ(PSEBaseTables[WhiteQueen][PhaseOpening][s], PSEBaseTables[WhiteQueen][PhaseEndgame][s]);
  }
  EXPECT_EQ(Opening(WhiteQueen, "d4"), 3 + 2 + 2 + 2);  // on the long diagonal, central
}

TEST_F(PSETest, StartPositionBlend) {
  ASSERT_EQ(SetUpOutput("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), "");
  const int32_t values[13] = {0, 100, 325, 325, 500, 975, 975, 100, 325, 325, 500, 0, 0};
  for (int c = 0; c <= 12; ++c) EXPECT_EQ(PieceValue[c], values[c]) << c;
  EXPECT_EQ(PSEScore, 0);
  EXPECT_EQ(CastleShortPSEDelta, 58);
  EXPECT_EQ(CastleLongPSEDelta, 32);
  for (int c = 1; c <= 12; ++c)
    for (int s = 0; s < 64; ++s) EXPECT_EQ(PSETable[c][s], PSEBaseTables[c][PhaseOpening][s]);
}

TEST_F(PSETest, KingsAloneBlend) {
  ASSERT_EQ(SetUpOutput("4k3/8/8/8/8/8/8/4K3 w - - 0 1"), "");
  const int32_t values[13] = {0, 120, 325, 360, 500, 1025, 1025, 120, 325, 360, 500, 0, 0};
  for (int c = 0; c <= 12; ++c) EXPECT_EQ(PieceValue[c], values[c]) << c;
  EXPECT_EQ(CastleShortPSEDelta, -22);
  EXPECT_EQ(CastleLongPSEDelta, -6);
  EXPECT_EQ(PSEScore, 0);
  for (int c = 1; c <= 12; ++c)
    for (int s = 0; s < 64; ++s) EXPECT_EQ(PSETable[c][s], PSEBaseTables[c][PhaseEndgame][s]);
}

TEST_F(PSETest, ScoreSumsTheBoard) {
  // A lone knight is a recognised ending, so the endgame tables apply:
  // knight h1 -15, king e1 -28, king e8 +28.
  ASSERT_EQ(SetUpOutput("4k3/8/8/8/8/8/8/4K2N w - - 0 1"), "");
  EXPECT_EQ(PSETable[WhiteKnight][Sq("h1")], -15);
  EXPECT_EQ(PSEScore, -15);
  EXPECT_EQ(ComputePSEScore(), -15);
}

TEST_F(PSETest, BlendBetweenThePhases) {
  // Everything but the queens: weight 145.
  ASSERT_EQ(SetUpOutput("rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR w KQkq - 0 1"), "");
  EXPECT_EQ(PieceValue[WhitePawn], 111);     // 111.37
  EXPECT_EQ(PieceValue[BlackBishop], 345);   // 344.90
  EXPECT_EQ(PieceValue[WhiteQueen], 1003);   // 1003.43
  EXPECT_EQ(PieceValue[BlackRook], 500);
  EXPECT_EQ(PSEScore, 0);
  // knight a8: -120 * 110/255 - 27 * 145/255 = -67.12
  EXPECT_EQ(PSETable[WhiteKnight][Sq("a8")], -67);
  EXPECT_EQ(PSETable[BlackKnight][Sq("a1")], 67);
}

TEST_F(PSETest, LiveTablesKeepTheirSymmetriesAtEveryPhase) {
  const char* positions[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR w KQkq - 0 1",
      "3qk3/8/8/8/8/8/8/R2QK3 w - - 0 1",
      "4k3/8/8/8/8/8/8/2QQK3 w - - 0 1",
      "r7/5k2/8/3PP3/8/8/5K2/R7 w - - 0 1",
      "r3k3/1p3p2/8/8/8/8/1P3P2/R3K3 w - - 0 1",
      "4k3/8/8/8/8/8/8/4K3 w - - 0 1",
  };
  const uint8_t pairs[6][2] = {{WhitePawn, BlackPawn},   {WhiteKnight, BlackKnight},
                               {WhiteBishop, BlackBishop}, {WhiteRook, BlackRook},
                               {WhiteQueen, BlackQueen}, {WhiteKing, BlackKing}};
  for (const char* fen : positions) {
    SCOPED_TRACE(fen);
    ASSERT_EQ(SetUpOutput(fen), "");
    EXPECT_EQ(PSEScore, ComputePSEScore());
    for (auto& p : pairs) {
      EXPECT_EQ(PieceValue[p[0]], PieceValue[p[1]]);
      for (int s = 0; s < 64; ++s) EXPECT_EQ(PSETable[p[1]][Mirror(s)], -PSETable[p[0]][s]);
    }
    for (int c = 1; c <= 12; ++c)
      for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) ASSERT_EQ(PSEDelta[c][a][b], PSETable[c][b] - PSETable[c][a]);
  }
}

TEST_F(PSETest, BlendFollowsMaterialBeyondTheFields) {
  // Nine queens would read as a lone queen, a bare endgame, from the
  // signature's fields; their true phase is full opening material.
  ASSERT_EQ(SetUpOutput("4k3/8/8/8/8/8/QQQQ1QQQ/QQ2K3 w - - 0 1"), "");
  EXPECT_EQ(PieceValue[WhitePawn], 100);
  EXPECT_EQ(PieceValue[WhiteQueen], 975);
  EXPECT_EQ(CastleShortPSEDelta, 58);
}

}  // namespace
