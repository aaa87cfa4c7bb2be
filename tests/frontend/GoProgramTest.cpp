// The console "go": the engine's move with its progress line, made on the board.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/ProgramDriver.h"

namespace {

const std::string Rule = std::string(80, '\xC4') + "\r\n";
const std::string Header = Rule + "   Depth  Score        Time  Nodes  PV\r\n" + Rule;

// The statistics box after a one-move request, up to the evaluation's counters:
// that request neither probes nor stores.
const std::string StatsBoxTop = "\r\n" + std::string(6, '\xC4') + " HASH STATS " + std::string(15, '\xC4') +
                                "\r\n      Reads: 0\r\n  Read hits: 0\r\n     Writes: 0\r\n Write hits: 0\r\n"
                                " Collisions: 0\r\n Slots used: 0 (0%)\r\nTotal slots: 0 (0%)\r\n" +
                                std::string(34, '\xC4') + "\r\n      Evals: ";

const char* const StartMoves[20] = {"a3", "a4", "b3", "b4", "c3", "c4", "d3", "d4", "e3", "e4",
                                    "f3", "f4", "g3", "g4", "h3", "h4", "Na3", "Nc3", "Nf3", "Nh3"};

// One "go" as the console shows it, up to the rule after the best move; with
// the score field masked, since the static evaluation's value is not the
// move choice's to pin down.
struct GoShown {
  std::string Progress;  // the progress line without its line end; empty when none
  std::string Best;      // the text after "Best move: "
  size_t End;            // where the rule after the best move ends
};

GoShown NextGo(const std::string& out, size_t from) {
  GoShown shown{"", "", std::string::npos};
  size_t at = out.find(Header, from);
  if (at == std::string::npos) return shown;
  at += Header.size();
  if (out.compare(at, Rule.size(), Rule) != 0) {
    size_t end = out.find("\r\n", at);
    shown.Progress = out.substr(at, end - at);
    if (shown.Progress.size() > 15) shown.Progress.replace(8, 7, "  SCORE");
    at = end + 2;
  }
  const std::string best = Rule + "Best move: ";
  if (out.compare(at, best.size(), best) != 0) return shown;
  at += best.size();
  size_t end = out.find("\r\n", at);
  shown.Best = out.substr(at, end - at);
  if (out.compare(end + 2, Rule.size(), Rule) == 0) shown.End = end + 2 + Rule.size();
  return shown;
}

std::string LastLine(const std::string& out) {
  size_t start = out.rfind("\r\n", out.size() - 3);
  return out.substr(start + 2, out.size() - start - 4);
}

}  // namespace

TEST(ConsoleGo, StartPositionPlaysOneOfTheTwentyMovesAndTheNextGoAnswers) {
  ProgramResult r = RunProgram("b 0\ngo\ngo\nquit\n");
  EXPECT_EQ(r.ExitCode, 0);
  ASSERT_EQ(r.Out.compare(0, StartupText().size(), StartupText()), 0);
  GoShown first = NextGo(r.Out, StartupText().size());
  EXPECT_EQ(r.Out.substr(StartupText().size(), Header.size()), Header);
  EXPECT_NE(std::find(std::begin(StartMoves), std::end(StartMoves), first.Best), std::end(StartMoves));
  EXPECT_EQ(first.Progress, "     1/1  SCORE        0.00      1  1." + first.Best);
  EXPECT_NE(r.Out.find("     1/1      0        0.00      1  1."), std::string::npos);
  ASSERT_NE(first.End, std::string::npos);
  EXPECT_EQ(r.Out.substr(first.End, StatsBoxTop.size()), StatsBoxTop);
  GoShown second = NextGo(r.Out, first.End);
  EXPECT_EQ(second.Progress, "     1/1  SCORE        0.00      1  1..." + second.Best);
}

TEST(ConsoleGo, OnlyMoveIsPlayedAndNoMoveIsMadeWithoutOne) {
  struct Case {
    const char* fen;
    const char* progress;
    const char* best;
    const char* after;  // the position "epd" then writes
  };
  const Case cases[] = {
      {"7k/5K2/8/8/8/8/8/6R1 b - - 0 1", "     1/1  SCORE        0.00      1  1...Kh7", "Kh7",
       "8/5K1k/8/8/8/8/8/6R1 w - - 1 2"},
      // Stalemate and mate: no progress line, no move, the board as it was.
      {"k7/8/1Q6/8/8/8/8/7K b - - 0 1", "", "", "k7/8/1Q6/8/8/8/8/7K b - - 0 1"},
      {"k7/1Q6/1K6/8/8/8/8/8 b - - 0 1", "", "", "k7/1Q6/1K6/8/8/8/8/8 b - - 0 1"},
  };
  for (const Case& c : cases) {
    ProgramResult r = RunProgram(std::string("b 0\ns ") + c.fen + "\ngo\nepd\nquit\n");
    EXPECT_EQ(r.ExitCode, 0);
    GoShown shown = NextGo(r.Out, StartupText().size());
    EXPECT_EQ(shown.Progress, c.progress) << c.fen;
    EXPECT_EQ(shown.Best, c.best) << c.fen;
    EXPECT_NE(shown.End, std::string::npos) << c.fen;
    EXPECT_EQ(LastLine(r.Out), c.after);
  }
}
