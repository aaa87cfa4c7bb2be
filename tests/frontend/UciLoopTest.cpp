// The UCI loop's own parsing: the limits of "go", the word splitter, and the
// position a "position" command leaves, alone and after another one.
#include <gtest/gtest.h>

#include "board/Position.h"
#include "frontend/UciLoop.h"
#include "search/UnitSearch.h"
#include "support/EngineSetup.h"

TEST(UciGoLimits, FromTheWordsOfGo) {
  InitEngineOnce();
  const struct {
    bool white;
    const char* args;
    int64_t soft, hard;
    int32_t depth;
    bool infinite;
  } cases[] = {
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
  for (const auto& c : cases) {
    WhiteToMove = c.white;
    ResetSearch();
    UciGoLimits(c.args);
    EXPECT_TRUE(SoftTimeMs == c.soft && HardTimeMs == c.hard && MaxDepth == c.depth && InfiniteSearch == c.infinite)
        << c.args << ": " << SoftTimeMs << " " << HardTimeMs << " " << MaxDepth << " " << InfiniteSearch;
  }
  WhiteToMove = 1;
}

TEST(NextToken, TakesOneWordAndTheOneSpaceAfterIt) {
  const char* const cases[][3] = {
      // text, word, text after
      {"  name  Hash", "name", " Hash"}, {" Hash", "Hash", ""}, {"e2e4", "e2e4", ""}, {"   ", "", ""}, {"", "", ""},
      {"a\tb c", "a\tb", "c"},
  };
  for (const auto& [before, word, after] : cases) {
    std::string text = before;
    EXPECT_EQ(NextToken(text), word) << before;
    EXPECT_EQ(text, after) << before;
  }
}

TEST(UciPosition, SetsUpAndExtendsOnlyOnTheSameBase) {
  InitEngineOnce();
  const std::string pawn = "fen 4k3/P7/8/8/8/8/8/4K3 w - - 0 1", afterE4 = "b KQkq e3 0 1";
  const std::string cases[][3] = {
      // The command before, the command, the position it leaves.
      {"startpos moves e2e4 e7e5", "startpos moves e2e4 e7e5 g1f3 b8c6",
       "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3"},
      {"startpos moves e2e4 e7e5", "startpos moves d2d4",
       "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 1"},
      // A FEN's moves are made; a list after a FEN never extends onto it.
      {"startpos", pawn + " moves a7a8q e8d7", "Q7/3k4/8/8/8/8/8/4K3 w - - 1 2"},
      {pawn, "startpos moves e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR " + afterE4},
      // The last move must end where the old list ended: a7a8 is no start of a7a8n.
      {pawn + " moves a7a8", pawn + " moves a7a8n", "N3k3/8/8/8/8/8/8/4K3 b - - 0 1"},
      {pawn + " moves a7a8n", pawn + " moves a7a8n e8d7", "N7/3k4/8/8/8/8/8/4K3 w - - 1 2"},
      {"startpos", "startpos moves e2e4 e2e4 d2d4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR " + afterE4},
      {"startpos moves e2e4", "startpos moves", StartFEN},
      {"startpos moves e2e4", "startpos fen 4k3/P7/8/8/8/8/8/4K3 w - - 0 1", StartFEN},
  };
  for (const auto& [before, command, fen] : cases) {
    NewGame();
    UciPosition(before);
    UciPosition(command);
    EXPECT_EQ(GetFEN(), fen) << before << " / " << command;
  }
}
