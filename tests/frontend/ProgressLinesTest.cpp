// Progress lines in the three protocols' forms and the variation as text.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "frontend/Notation.h"
#include "frontend/ProgressLines.h"
#include "support/EngineSetup.h"

namespace {

// Sets the position, fills RootPV with the moves given in coordinates and
// the search result with the rest.
void SetResult(const char* fen, const std::vector<std::string>& pv, int32_t depth = 1, int32_t selDepth = 1,
               int32_t score = 0, int32_t bound = 3, int64_t nodes = 1) {
  InitEngineOnce();
  SetPositionFromFEN(fen);
  for (size_t i = 0; i < pv.size(); i++) MakeMove(RootPV[i] = FindMove(pv[i]));
  RootPV[pv.size()] = 0;
  while (Ply > 0) UnmakeMove();
  IterationDepth = depth, SelDepth = selDepth, BestScore = score, BestBound = bound, Nodes = nodes;
}

const char* const AfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1";

}  // namespace

TEST(ProgressLines, EachProtocolsLineForScoresMatesAndBounds) {
  struct Case {
    const char* fen;
    std::vector<std::string> pv;
    int32_t depth, selDepth, score, bound;
    int64_t nodes, ms;
    const char* lines[3];  // console, UCI, xboard
  };
  const Case cases[] = {
      {StartFEN, {"e2e4"}, 1, 1, 0, 3, 1, 0,
       {"     1/1      0        0.00      1  1.e4",
        "info depth 1 seldepth 1 score cp 0 time 0 nodes 1 nps 99999999 pv e2e4 ", "1 0 0 1 1/1 1.e4"}},
      {StartFEN, {"e2e4", "e7e5"}, 5, 9, 29997, 2, 12345, 1234,
       {"     5/9     #2        1.23  12.3k  1.e4? e5",
        "info depth 5 seldepth 9 score mate 2 lowerbound time 1234 nodes 12345 nps 10004 pv e2e4 e7e5 ",
        "5 9996 123 12345 5/9 1.e4? e5"}},
      {AfterE4, {"e7e5", "g1f3"}, 12, 30, -29998, 1, 3, 2,
       {"   12/30    -#1        0.00      3  1...e5! 2.Nf3",
        "info depth 12 seldepth 30 score mate -1 upperbound time 2 nodes 3 nps 1500 pv e7e5 g1f3 ",
        "12 -9998 0 3 12/30 1...e5! 2.Nf3"}},
  };
  for (const Case& c : cases) {
    SetResult(c.fen, c.pv, c.depth, c.selDepth, c.score, c.bound, c.nodes);
    for (ProtocolMode = ConsoleProtocol; ProtocolMode <= XboardProtocol; ProtocolMode++) EXPECT_EQ(SearchInfoLine(c.ms), c.lines[ProtocolMode]);
    EXPECT_EQ(GetFEN(), c.fen);
  }
  ProtocolMode = ConsoleProtocol;
}

TEST(ProgressLines, ConsoleTimeAndNodeFieldsRoundHalvesToEven) {
  const std::tuple<int64_t, int64_t, const char*> cases[] = {
      {7, 5, "        0.00      7"},           {42, 15, "        0.02     42"},
      {512, 995, "        1.00    512"},       {9985, 59995, "     1m00.00  9.98k"},
      {9995, 3661000, "  1h01m01.00  10.00k"}, {123456, 0, "        0.00   123k"},
      {999500, 0, "        0.00   1000k"},     {1234567, 0, "        0.00  1.23M"},
      {12345678, 0, "        0.00  12.3M"},     {123456789, 0, "        0.00   123M"}};
  SetResult(StartFEN, {});
  for (const auto& [nodes, ms, fields] : cases) {
    Nodes = nodes;
    std::string line = ConsoleSearchLine("", ms);
    EXPECT_EQ(line.substr(15, line.size() - 17), fields);
  }
}

TEST(ProgressLines, ALongVariationWrapsUnderThePVColumn) {
  SetResult(StartFEN, {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5", "a7a6", "b5a4", "g8f6", "e1g1", "f8e7", "f1e1",
                       "b7b5", "a4b3", "d7d6", "c2c3", "e8g8", "h2h3", "c6b8", "d2d4", "b8d7"},
            20, 20, 31, 3, 5);
  const std::string indent(36, ' ');
  EXPECT_EQ(ConsoleSearchLine("", 0), "   20/20     31        0.00      5  1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O\r\n" +
                                          indent + "Be7 6.Re1 b5 7.Bb3 d6 8.c3 O-O 9.h3 Nb8\r\n" + indent + "10.d4 Nbd7");
}

TEST(PVToSAN, StopsAtAMoveThatIsNotLegalThere) {
  SetResult(StartFEN, {"e2e4", "e7e5", "g1f3"});
  PrincipalVariation pv = {RootPV[0], RootPV[1], RootPV[1], RootPV[2], 0}, wrong = {RootPV[1], 0}, empty = {0};
  EXPECT_EQ(PVToSAN(pv, "!"), "1.e4! e5");
  EXPECT_EQ(GetFEN(), StartFEN);
  // An illegal first move leaves only the marker and the last best move text.
  EXPECT_EQ(PVToSAN(wrong, "?"), "?");
  EXPECT_EQ(BestMoveText, "e4");
  EXPECT_EQ(PVToUciText(pv), "e2e4 e7e5 e7e5 g1f3 ");
  EXPECT_EQ(PVToUciText(empty), "");
}
