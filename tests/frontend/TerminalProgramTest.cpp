// The console layer when a person sits at a terminal.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"
#include "support/TempDir.h"

namespace {
const std::string Ready = "list of commands\r\n\r\n";
const std::string Normal = "\x1b[0m";
const std::string WhiteOnBrown = "\x1b[0;1;38;5;231;48;5;130m", WhiteOnGrey = "\x1b[0;1;38;5;231;48;5;245m";
const std::string BlackOnBrown = "\x1b[0;38;5;16;48;5;130m", BlackOnGrey = "\x1b[0;38;5;16;48;5;245m";
// The last line of a board print: the bottom of the evaluation box.
const std::string BoardEnd = "\u2518\r\n";
}

TEST(TerminalSession, InputTypedBeforeStartUpIsDropped) {
  ProgramResult r = RunProgramOnTerminal("m 7\n", {"m 8\n", "quit\n"}, {Ready, "mSecs\r\n"});
  EXPECT_EQ(r.Out, StartupText() + "Move time set to 8000 mSecs\r\n");
  EXPECT_EQ(r.ExitCode, 0);
}

TEST(TerminalSession, EndOfInputEndsTheRun) {
  // Ctrl-D on an empty line.
  ProgramResult r = RunProgramOnTerminal("", {"\x04"}, {Ready});
  EXPECT_EQ(r.Out, StartupText());
  EXPECT_EQ(r.ExitCode, 0);
}

TEST(TerminalSession, LongLinesArriveWhole) {
  // Reads from a terminal may end inside a line; its tail is no command.
  const std::string console = "zz" + std::string(251, ' ') + "xx epd\n";
  ProgramResult typed = RunProgramOnTerminal("", {console, "m 3\n", "quit\n"}, {Ready, "", ""});
  EXPECT_EQ(typed.Out, StartupText() + "Move time set to 3000 mSecs\r\n");
  // A pasted game of 205 plies, over 1,000 bytes: Black to move.
  std::string position = "position startpos moves e2e4";
  for (int i = 0; i < 51; ++i) position += " g8f6 g1f3 f6g8 f3g1";
  ProgramResult pasted = RunProgramOnTerminal(
      "", {"uci\n", position + "\n", "go depth 1\nisready\n", "quit\n"}, {Ready, "uciok\r\n", "", "readyok\r\n"});
  const std::regex blackMove("\r\nbestmove [a-h][78][a-h][1-8]\r\nreadyok\r\n$");
  EXPECT_TRUE(std::regex_search(pasted.Out, blackMove)) << pasted.Out;
}

TEST(TerminalSession, ColoursAreAnsiSequencesAndResetAtTheEnd) {
  ProgramResult r = RunProgramOnTerminal("", {"info\n", "quit\n"}, {Ready, Ready});
  EXPECT_EQ(r.ExitCode, 0);
  const std::string green = "\x1b[0;38;5;28m";
  size_t logo = r.Out.find(green + "\r\n##");
  ASSERT_NE(logo, std::string::npos);
  EXPECT_EQ(logo, StartupText().size());
  size_t back = r.Out.find("=\r\n" + Normal + "\r\n\r\nVelkar 0.5.9 RND\r\n", logo);
  EXPECT_NE(back, std::string::npos);
  EXPECT_TRUE(EndsWith(r.Out, Normal));
}

// How these colours look is checked by eye, not here: tests/data/terminal-light.png
// and terminal-dark.png are xterm screenshots (white and black backgrounds) of
// the tiny board with figurines and the medium one with letters after 1.e4 e5.
// Both piece colours must read clearly on both squares in both; retake them
// after any change of the colour codes.
TEST(TerminalSession, BoardCellsShowInTheSquareAndPieceColours) {
  ProgramResult r = RunProgramOnTerminal("", {"f 0\n", "quit\n"}, {Ready, BoardEnd});
  // a1 is a dark square, a6 and a8 light ones; every cell sets its own colour.
  auto rank = [](const std::string& pieces, const std::string& first, const std::string& second) {
    std::string cells;
    for (size_t file = 0; file < pieces.size(); ++file) cells += (file % 2 ? second : first) + " " + pieces[file];
    return cells + Normal + "\u2502";
  };
  EXPECT_NE(r.Out.find("\r\n8\u2502" + rank("rnbqkbnr", BlackOnGrey, BlackOnBrown) + "8 WHITE to move"),
            std::string::npos);
  EXPECT_NE(r.Out.find("\r\n6\u2502" + rank("        ", BlackOnGrey, BlackOnBrown) + "6 "), std::string::npos);
  EXPECT_NE(r.Out.find("\r\n1\u2502" + rank("RNBQKBNR", WhiteOnBrown, WhiteOnGrey) + "1 \r\n"),
            std::string::npos);
}

TEST(TerminalSession, InterruptResetsTheColoursAndEndsAsBefore) {
  // Text follows the board's last colour switch, so only the interrupt can
  // have written the final reset.
  ProgramResult shown = RunProgramOnTerminal("", {"b\n", InterruptAfter(BoardEnd)}, {Ready, ""});
  EXPECT_TRUE(EndsWith(shown.Out, BoardEnd + Normal));
  EXPECT_EQ(shown.EndSignal, SIGINT);
  // No colour used, nothing to reset.
  ProgramResult plain = RunProgramOnTerminal("", {InterruptAfter(Ready)}, {""});
  EXPECT_EQ(plain.Out, StartupText());
  EXPECT_EQ(plain.EndSignal, SIGINT);
}

TEST(TerminalSession, LineFeedsGoOutInTheDefaultColours) {
  // A terminal paints the line a line feed scrolls in with the background
  // then in force; the evaluation suite's title box ends rows in colour.
  ProgramResult r =
      RunProgramOnTerminal("", {"b 0\n", "v\n", std::string(VELKAR_TEST_DATA) + "/onlymove\n", "q\n", "quit\n"},
                           {Ready, "", "abort: ", "abort: ", ""});
  EXPECT_NE(r.Out.find("\r" + Normal + "\n" + BlackOnGrey + "\u2502Position 1: "), std::string::npos);
  for (size_t feed = r.Out.find('\n'); feed != std::string::npos; feed = r.Out.find('\n', feed + 1)) {
    size_t colour = r.Out.rfind("\x1b[", feed);
    if (colour == std::string::npos) continue;
    EXPECT_EQ(r.Out.substr(colour, r.Out.find('m', colour) - colour).find(";48;"), std::string::npos) << feed;
  }
}

TEST(PipeSession, NoColourCodesReachAPipe) {
  ProgramResult r = RunProgram("info\nquit\n");
  EXPECT_EQ(r.Out.find('\x1b'), std::string::npos);
  ProgramResult interrupted = RunProgram({"b\n", InterruptAfter("\xD9\r\n")});
  EXPECT_TRUE(EndsWith(interrupted.Out, "\xD9\r\n"));
  EXPECT_EQ(interrupted.Out.find('\x1b'), std::string::npos);
  EXPECT_EQ(interrupted.EndSignal, SIGINT);
}

TEST(PipeSession, AnInterruptIgnoredByTheStarterStaysIgnoredFromTheStart) {
  // As in a background job or under trap '' INT: SIGINT is never caught, not
  // even for a moment during start-up. What the program sets for it is
  // recorded, so no race decides the outcome; without the starter's
  // ignore, the recording shows the handler going in.
  TempDir dir;
  for (bool ignoredByStarter : {true, false}) {
    const std::string log = dir.Path + (ignoredByStarter ? "/ignored" : "/caught");
    StreamOptions streams;
    streams.IgnoreInterrupt = ignoredByStarter;
    streams.Environment = {"LD_PRELOAD=" VELKAR_SIGINT_RECORDER, "VELKAR_SIGINT_LOG=" + log};
    ProgramResult r = RunProgram({"xboard\nquit\n"}, 0, 60000, streams);
    std::ifstream recorded(log);
    const std::string dispositions{std::istreambuf_iterator<char>(recorded), std::istreambuf_iterator<char>()};
    // The xboard loop ignores SIGINT once it starts.
    EXPECT_EQ(dispositions, ignoredByStarter ? "ignore\n" : "handler\nignore\n");
    EXPECT_EQ(r.Out, StartupText() + "\r\n");
    EXPECT_EQ(r.ExitCode, 0);
  }
}

namespace {
std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}
}  // namespace

TEST(TerminalSession, RulesShowAsBoxLinesInUtf8) {
  ProgramResult r = RunProgramOnTerminal("", {"d 1\n", "quit\n"}, {Ready, ""});
  const std::string rule = Repeat("\u2500", 80) + "\r\n";
  EXPECT_NE(r.Out.find("\r\n" + rule + rule + "Depth: 1 Nodes: 20 "), std::string::npos);
  EXPECT_EQ(r.Out.find('\xC4'), std::string::npos);
}

