// The limits of a UCI "go" and the word splitter of the UCI commands.
#include <gtest/gtest.h>

#include "board/Position.h"
#include "frontend/UciLoop.h"
#include "search/UnitSearch.h"
#include "support/EngineSetup.h"

TEST(UciGoLimits, FromTheWordsOfGo) {
  InitEngineOnce();
  struct Case {
    bool white;
    const char* args;
    int64_t soft, hard;
    int32_t depth;
    bool infinite;
  };
  const Case cases[] = {
      {true, "wtime 60000 btime 60000", 1090, 1714, 255, false},
      {true, "wtime 60000 btime 60000 winc 1000", 1909, 3000, 255, false},
      {false, "wtime 1000 btime 1000", 18, 28, 255, false},
      {true, "movestogo 0 wtime 10000 winc 100", 263, 414, 255, false},
      // Words the clock does not know are passed over, the leading spaces of
      // a word too.
      {true, "ponder wtime  5500 nodes 7", 100, 157, 255, false},
      {true, "", 0, 0, 255, false},
      {true, "btime 5000 mate 3", 0, 0, 255, false},
      // A clock below zero and a budget past 2^31 - 1 (2147483647 + 45) wrap into negative limits.
      {true, "wtime -5500", -100, -157, 255, false},
      {true, "wtime 2147483647 winc 1", -39045156, -61356674, 255, false},
      {true, "ponder", 86400000, 86400000, 255, false},
      {true, "depth 3 movetime 100", 86400000, 86400000, 3, false},
      {true, "movetime 250 depth 9", 250, 250, 255, false},
      {true, "infinite", 0, 0, 255, true},
      {true, "infinite wtime 5500", 100, 157, 255, false},
  };
  for (const Case& c : cases) {
    WhiteToMove = c.white;
    ResetSearch();
    UciGoLimits(c.args);
    EXPECT_EQ(SoftTimeMs, c.soft) << c.args;
    EXPECT_EQ(HardTimeMs, c.hard) << c.args;
    EXPECT_EQ(MaxDepth, c.depth) << c.args;
    EXPECT_EQ(InfiniteSearch, c.infinite) << c.args;
  }
  WhiteToMove = 1;
}

TEST(NextToken, TakesOneWordAndTheOneSpaceAfterIt) {
  const char* const cases[][3] = {
      // text, word, text after
      {"  name  Hash", "name", " Hash"},
      {" Hash", "Hash", ""},
      {"e2e4", "e2e4", ""},
      {"   ", "", ""},
      {"", "", ""},
      {"a\tb c", "a\tb", "c"},
  };
  for (const auto& c : cases) {
    std::string text = c[0];
    EXPECT_EQ(NextToken(text), c[1]) << c[0];
    EXPECT_EQ(text, c[2]) << c[0];
  }
}
