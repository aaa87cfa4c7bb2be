// How the EPD suites read a line, judge a move and count its time, and the
// totals row of the result box.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "frontend/UnitTestSuite.h"

TEST(EpdLine, BmTextAndTitle) {
  const char* const cases[][3] = {
      // line, bm text, title
      {"6bk/7p/8/8/8/npb5/1Q6/K7 w - - bm Qxc3#; id \"only.1\";", "Qxc3#", "bm Qxc3#; id \"only.1\";"},
      {"k7/1q6/NPB5/8/8/8/7P/6BK b - - id \"only.2\"; bm Rb1 Qxc6#;", "Rb1 Qxc6#", "bm Rb1 Qxc6#;"},
      // The first "bm" anywhere, case-sensitive.
      {"8/8 w - - id \"bmx\"; bm e4;", "\"", "bmx\"; bm e4;"},
      {"8/8 w - - BM e4; id \"x\";", "", "id \"x\";"},
      // Without "bm" there is no best move, whatever the line's third byte starts.
      {"7k/8/8/8/3P4/np1n4/8/K7 w - - id \"d5 push\";", "", "id \"d5 push\";"},
      {"7k/8/8/8/3P4/np1n4/8/K7 w - - bm d5", "", "bm d5"},
      {"7k/8/8/8/3P4/np1n4/8/K7 w - - bm", "", "bm"},
      {"bm ;", "", "bm ;"},
      {"bm;", "", "bm;"},
      {"b", "", "b"},
      {"", "", ""},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 c0 \"start\";", "",
       "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 c0 "},
  };
  for (const auto& [line, bm, title] : cases) {
    EXPECT_EQ(EpdBmText(line), bm) << line;
    EXPECT_EQ(EpdTitle(line), title) << line;
  }
}

TEST(EpdLine, SolvedWhereTheMoveTextOccursInTheBmText) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"Qd1+", "Qd1+", true}, {"Qd1+", "Qd1", false}, {"Rb1", "Rb1 Qxc6#", true}, {"Qxc6#", "Rb1 Qxc6#", true},
      {"d5", "exd5", true},   {"d5", "d4d5", true},   {"Qxc3#", "b2c3", false},    {"", "Qd1", false},
      {"", "", false}};
  for (const auto& [move, bm, solved] : cases) EXPECT_EQ(IsSolved(move, bm), solved) << move << " in " << bm;
}

TEST(SolvedByTime, SecondsRoundHalfToEvenUpToTen) {
  const std::pair<int64_t, int32_t> cases[] = {{0, 0},    {500, 0},    {501, 1},    {1500, 2},
                                               {2500, 2}, {10499, 10}, {10500, 11}, {86400000, 11},
                                               {-1, 0},   {-5000, 0}};
  for (const auto& [ms, index] : cases) EXPECT_EQ(SolvedTimeIndex(ms), index) << ms;
}

TEST(ResultRow, TotalsPaddedOrCutTo65Bytes) {
  EXPECT_EQ(ResultRowText(12, 345, 1234567, 61000),
            "\xB3Solved: 12/345 Nodes: 1.23M Time: 1m01.00 NPS: 20.2k" + std::string(12, ' '));
  EXPECT_EQ(ResultRowText(0, 1, 1, 0),
            "\xB3Solved: 0/1 Nodes: 1 Time: 0.00 NPS: oo" + std::string(25, ' '));
  EXPECT_EQ(ResultRowText(2000000000, 2000000000, 1234567890123, 360000000000),
            "\xB3Solved: 2000000000/2000000000 Nodes: 1234568M Time: 100000h00m00");
}
