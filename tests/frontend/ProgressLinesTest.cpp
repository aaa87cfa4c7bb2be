// Progress lines in the three protocols' forms and the variation as text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/Position.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Notation.h"
#include "frontend/ProgressLines.h"
#include "search/UnitSearch.h"
#include "support/EngineSetup.h"

namespace {

// Sets the position and fills RootPV with the moves given in coordinates,
// each legal where it stands; the position is left as set.
void SetVariation(const char* fen, const std::vector<std::string>& moves) {
  InitEngineOnce();
  SetPositionFromFEN(fen);
  size_t i = 0;
  for (; i < moves.size(); i++) {
    MoveList list;
    GenerateMoves(list);
    RootPV[i] = 0;
    for (int32_t j = 0; j < list.Count; j++)
      if (MoveToText(list.Moves[j]) == moves[i]) RootPV[i] = list.Moves[j];
    ASSERT_NE(RootPV[i], 0u) << moves[i];
    MakeMove(RootPV[i]);
  }
  RootPV[i] = 0;
  while (Ply > 0) UnmakeMove();
}

void SetResult(int32_t depth, int32_t selDepth, int32_t score, int32_t bound, int64_t nodes) {
  IterationDepth = depth;
  SelDepth = selDepth;
  BestScore = score;
  BestBound = bound;
  Nodes = nodes;
}

const char* const AfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1";

}  // namespace

TEST(ProgressLines, EachProtocolsLineForScoresMatesAndBounds) {
  struct Case {
    const char* fen;
    std::vector<std::string> pv;
    int32_t depth, selDepth, score, bound;
    int64_t nodes, ms;
    const char* uci;
    const char* xboard;
    const char* console;
  };
  const Case cases[] = {
      {StartFEN, {"e2e4"}, 1, 1, 0, 3, 1, 0,
       "info depth 1 seldepth 1 score cp 0 time 0 nodes 1 nps 99999999 pv e2e4 ",
       "1 0 0 1 1/1 1.e4",
       "     1/1      0        0.00      1  1.e4"},
      {StartFEN, {"e2e4", "e7e5"}, 5, 9, 29997, 2, 12345, 1234,
       "info depth 5 seldepth 9 score mate 2 lowerbound time 1234 nodes 12345 nps 10004 pv e2e4 e7e5 ",
       "5 9996 123 12345 5/9 1.e4? e5",
       "     5/9     #2        1.23  12.3k  1.e4? e5"},
      {AfterE4, {"e7e5", "g1f3"}, 12, 30, -29998, 1, 3, 2,
       "info depth 12 seldepth 30 score mate -1 upperbound time 2 nodes 3 nps 1500 pv e7e5 g1f3 ",
       "12 -9998 0 3 12/30 1...e5! 2.Nf3",
       "   12/30    -#1        0.00      3  1...e5! 2.Nf3"},
      {AfterE4, {"d7d5"}, 3, 4, -57, 0, 999, 25, "info depth 3 seldepth 4 score cp -57 time 25 nodes 999 nps 39960 pv d7d5 ",
       "3 -57 2 999 3/4 1...d5", "     3/4    -57        0.02    999  1...d5"},
  };
  for (const Case& c : cases) {
    SetVariation(c.fen, c.pv);
    SetResult(c.depth, c.selDepth, c.score, c.bound, c.nodes);
    const char* expected[3] = {c.console, c.uci, c.xboard};
    for (ProtocolMode = 0; ProtocolMode < 3; ProtocolMode++)
      EXPECT_EQ(SearchInfoLine(c.ms), expected[ProtocolMode]);
    EXPECT_EQ(GetFEN(), c.fen);
  }
  ProtocolMode = 0;
}

TEST(ProgressLines, ConsoleTimeAndNodeFields) {
  // Time right-aligned in 12, two spaces, nodes in 5; halves round to even.
  struct Case {
    int64_t nodes, ms;
    const char* fields;
  };
  const Case table[] = {
      {7, 5, "        0.00      7"},         {42, 15, "        0.02     42"},
      {512, 995, "        1.00    512"},     {9985, 59995, "     1m00.00  9.98k"},
      {9995, 3661000, "  1h01m01.00  10.00k"}, {123456, 1234, "        1.23   123k"},
      {999500, 0, "        0.00   1000k"},   {1234567, 0, "        0.00  1.23M"},
      {12345678, 0, "        0.00  12.3M"},   {123456789, 0, "        0.00   123M"},
  };
  SetVariation(StartFEN, {});
  for (const Case& c : table) {
    SetResult(1, 1, 0, 3, c.nodes);
    std::string line = ConsoleSearchLine("", c.ms);
    EXPECT_EQ(line.substr(15, line.size() - 17), c.fields) << c.nodes;
  }
}

TEST(ProgressLines, ALongVariationWrapsUnderThePVColumn) {
  SetVariation(StartFEN, {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5", "a7a6", "b5a4", "g8f6", "e1g1", "f8e7",
                          "f1e1", "b7b5", "a4b3", "d7d6", "c2c3", "e8g8", "h2h3", "c6b8", "d2d4", "b8d7"});
  SetResult(20, 20, 31, 3, 5);
  const std::string indent(36, ' ');
  EXPECT_EQ(ConsoleSearchLine("", 0),
            "   20/20     31        0.00      5  1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O\r\n" + indent +
                "Be7 6.Re1 b5 7.Bb3 d6 8.c3 O-O 9.h3 Nb8\r\n" + indent + "10.d4 Nbd7");
  EXPECT_EQ(BestMoveText, "e4");
}

TEST(PVToSAN, StopsAtAMoveThatIsNotLegalThere) {
  SetVariation(StartFEN, {"e2e4", "e7e5", "g1f3"});
  PrincipalVariation pv = {RootPV[0], RootPV[1], RootPV[1], RootPV[2], 0};
  EXPECT_EQ(PVToSAN(pv, "!"), "1.e4! e5");
  EXPECT_EQ(GetFEN(), StartFEN);
  // An illegal first move leaves only the marker and the last best move text.
  PrincipalVariation wrong = {RootPV[1], 0};
  EXPECT_EQ(PVToSAN(wrong, "?"), "?");
  EXPECT_EQ(BestMoveText, "e4");
  EXPECT_EQ(PVToUciText(pv), "e2e4 e7e5 e7e5 g1f3 ");
  PrincipalVariation empty = {0};
  EXPECT_EQ(PVToUciText(empty), "");
}
