// The console "go": the engine's move with its progress line, made on the board.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/BoxText.h"
#include "support/ProgramSession.h"

namespace {

const std::string Rule = Frame("", 80, "\r\n");
const std::string Header = Rule + "   Depth  Score        Time  Nodes  PV\r\n" + Rule;

// One "go" with the board display off; no progress line without a legal move.
// A one-move request neither probes nor stores: only the evaluation's
// counters move.
std::string GoOutput(const std::string& progress, const std::string& best, const char* evals, const char* pawnWrites,
                     const char* materWrites) {
  return Header + (progress.empty() ? "" : progress + "\r\n") + Rule + "Best move: " + best + "\r\n" + Rule +
         HashStatsBox({"0", "0", "0", "0", "0", "0 (0%)", "0 (0%)", evals, pawnWrites, "0", materWrites, "0"});
}

}  // namespace

TEST(ConsoleGo, StartPositionPlaysOneOfTheTwentyMovesAndTheNextGoAnswers) {
  const std::string out = SessionOutput("b 0\ngo\ngo\nquit\n");
  const size_t at = out.find("Best move: ") + 11;
  const std::string best = out.substr(at, out.find("\r\n", at) - at);
  const char* const moves[] = {"a3", "a4", "b3", "b4", "c3", "c4", "d3",  "d4",  "e3",  "e4",
                               "f3", "f4", "g3", "g4", "h3", "h4", "Na3", "Nc3", "Nf3", "Nh3"};
  EXPECT_NE(std::find(std::begin(moves), std::end(moves), best), std::end(moves));
  const std::string first = GoOutput("     1/1      0        0.00      1  1." + best, best, "1", "1", "1");
  ASSERT_EQ(out.substr(0, first.size()), first);
  // Black's reply carries the move number with three points.
  EXPECT_EQ(out.substr(first.size(), Header.size() + 8), Header + "     1/1");
  EXPECT_EQ(out.substr(first.size() + Header.size() + 15, 25), "        0.00      1  1...");
}

TEST(ConsoleGo, OnlyMoveIsPlayedAndNoMoveIsMadeWithoutOne) {
  // The position, what "go" writes, the position "epd" then writes.
  const std::string cases[][3] = {
      {"7k/5K2/8/8/8/8/8/6R1 b - - 0 1", GoOutput("     1/1  -8075        0.00      1  1...Kh7", "Kh7", "1", "0", "1"),
       "8/5K1k/8/8/8/8/8/6R1 w - - 1 2"},
      // Stalemate and mate: no progress line, no move, the board as it was.
      {"k7/8/1Q6/8/8/8/8/7K b - - 0 1", GoOutput("", "", "0", "0", "0"), "k7/8/1Q6/8/8/8/8/7K b - - 0 1"},
      {"k7/1Q6/1K6/8/8/8/8/8 b - - 0 1", GoOutput("", "", "0", "0", "0"), "k7/1Q6/1K6/8/8/8/8/8 b - - 0 1"},
  };
  for (const auto& [fen, go, after] : cases)
    EXPECT_EQ(SessionOutput("b 0\ns " + fen + "\ngo\nepd\nquit\n"), go + after + "\r\n") << fen;
}
