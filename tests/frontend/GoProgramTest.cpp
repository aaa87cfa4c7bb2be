// The console "go": the engine's move with its progress line, made on the board.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/ProgramDriver.h"

namespace {

const std::string Rule = std::string(80, '\xC4') + "\r\n";
const std::string Header = Rule + "   Depth  Score        Time  Nodes  PV\r\n" + Rule;

const char* const StartMoves[20] = {"a3", "a4", "b3", "b4", "c3", "c4", "d3", "d4", "e3", "e4",
                                    "f3", "f4", "g3", "g4", "h3", "h4", "Na3", "Nc3", "Nf3", "Nh3"};

// The statistics box after one request: a one-move request neither probes
// nor stores, so only the evaluation's counters move.
std::string StatsBox(const std::string& evals, const std::string& pawnWrites, const std::string& materWrites) {
  const std::string rule = std::string(34, '\xC4') + "\r\n";
  return "\r\n" + std::string(6, '\xC4') + " HASH STATS " + std::string(15, '\xC4') +
         "\r\n      Reads: 0\r\n  Read hits: 0\r\n     Writes: 0\r\n Write hits: 0\r\n Collisions: 0\r\n"
         " Slots used: 0 (0%)\r\nTotal slots: 0 (0%)\r\n" + rule + "      Evals: " + evals + "\r\n" + rule +
         " Pawnwrites: " + pawnWrites + "\r\n   Pawnhits: 0\r\nMaterwrites: " + materWrites +
         "\r\n  Materhits: 0\r\n" + rule;
}

// One "go" with the board display off; no progress line without a legal move.
std::string GoOutput(const std::string& progress, const std::string& best, const std::string& box) {
  return Header + (progress.empty() ? "" : progress + "\r\n") + Rule + "Best move: " + best + "\r\n" + Rule + box;
}

}  // namespace

TEST(ConsoleGo, StartPositionPlaysOneOfTheTwentyMovesAndTheNextGoAnswers) {
  ProgramResult r = RunProgram("b 0\ngo\ngo\nquit\n");
  EXPECT_EQ(r.ExitCode, 0);
  size_t at = r.Out.find("Best move: ") + 11;
  std::string best = r.Out.substr(at, r.Out.find("\r\n", at) - at);
  EXPECT_NE(std::find(std::begin(StartMoves), std::end(StartMoves), best), std::end(StartMoves));
  std::string first = StartupText() + GoOutput("     1/1      0        0.00      1  1." + best, best, StatsBox("1", "1", "1"));
  ASSERT_EQ(r.Out.substr(0, first.size()), first);
  // Black's reply carries the move number with three points.
  EXPECT_EQ(r.Out.substr(first.size(), Header.size() + 8), Header + "     1/1");
  EXPECT_EQ(r.Out.substr(first.size() + Header.size() + 15, 25), "        0.00      1  1...");
}

TEST(ConsoleGo, OnlyMoveIsPlayedAndNoMoveIsMadeWithoutOne) {
  struct Case {
    const char* fen;
    std::string go;     // what "go" writes
    const char* after;  // the position "epd" then writes
  };
  const Case cases[] = {
      {"7k/5K2/8/8/8/8/8/6R1 b - - 0 1",
       GoOutput("     1/1  -8075        0.00      1  1...Kh7", "Kh7", StatsBox("1", "0", "1")),
       "8/5K1k/8/8/8/8/8/6R1 w - - 1 2"},
      // Stalemate and mate: no progress line, no move, the board as it was.
      {"k7/8/1Q6/8/8/8/8/7K b - - 0 1", GoOutput("", "", StatsBox("0", "0", "0")),
       "k7/8/1Q6/8/8/8/8/7K b - - 0 1"},
      {"k7/1Q6/1K6/8/8/8/8/8 b - - 0 1", GoOutput("", "", StatsBox("0", "0", "0")),
       "k7/1Q6/1K6/8/8/8/8/8 b - - 0 1"},
  };
  for (const Case& c : cases) {
    ProgramResult r = RunProgram(std::string("b 0\ns ") + c.fen + "\ngo\nepd\nquit\n");
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, StartupText() + c.go + c.after + "\r\n") << c.fen;
  }
}
