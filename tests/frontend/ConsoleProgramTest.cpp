// The console command loop and the pipe layer, seen from a driving program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ProgramDriver.h"

namespace {

const std::string HelpText =
    "\r\n*** COMMANDS ***\r\n"
    "\r\n"
    "[b]oard [0|1|2]     sets board display to none/tiny/medium\r\n"
    "                     (without parameters, shows current board)\r\n"
    "[d]ivide <depth>    runs a perft node count on the current position\r\n"
    "[e]pd               prints EPD string of current position\r\n"
    "[f]igurines <0|1>   enables special symbolic chars in place of standard\r\n"
    "                     piece initials, in board display\r\n"
    "go                  Velkar starts playing\r\n"
    "[h]elp (or ?)       shows this list of commands\r\n"
    "[i]nfo              re-initialize Velkar, prints logo and version info\r\n"
    "[l]moves            shows the legal moves for current position\r\n"
    "[m]ovetime <secs>   sets a move time for playing in console mode (default 5)\r\n"
    "[n]ew               starts a new game\r\n"
    "[p]erft <depth>     tests the move generation on the current position\r\n"
    "[pe]erftsuite       runs a perft test using a specified EPD file\r\n"
    "[q]uit              leaves Velkar\r\n"
    "[s]etboard <fen>    sets board position to <fen>\r\n"
    "[t]estsuite         runs an EPD testsuite file\r\n"
    "[v]valsuite         runs an eval test on an EPD file\r\n"
    "uci                 enters UCI mode\r\n"
    "xboard              enters XBoard mode\r\n"
    "...or enter your move\r\n";

std::string MoveTimeLine(const std::string& ms) { return "Move time set to " + ms + " mSecs\r\n"; }

void ExpectOutput(const ProgramResult& r, const std::string& afterStartup) {
  EXPECT_EQ(r.Out, StartupText() + afterStartup);
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.ExitCode, 0);
}

void ExpectConversionError(const ProgramResult& r, const std::string& text) {
  EXPECT_EQ(r.Out, StartupText());
  EXPECT_EQ(r.Err, ConversionErrorText(text));
  EXPECT_EQ(r.ExitCode, 1);
}

}  // namespace

TEST(ConsoleStartup, WritesItsLinesAndQuits) {
  ExpectOutput(RunProgram("quit\n"), "");
  ExpectOutput(RunProgram("q\n"), "");
}

TEST(ConsoleStartup, EndOfInputEndsTheRunLikeQuit) {
  ExpectOutput(RunProgram(""), "");
  ExpectOutput(RunProgram("\n\n"), "");
}

TEST(ConsoleStartup, NothingAfterQuitIsRead) { ExpectOutput(RunProgram("q\nhelp\n"), ""); }

TEST(ConsoleHelp, AllThreeSpellingsGiveTheHelpText) {
  ExpectOutput(RunProgram("help\nquit\n"), HelpText);
  ExpectOutput(RunProgram("h\nquit\n"), HelpText);
  ExpectOutput(RunProgram("?\nquit\n"), HelpText);
}

TEST(ConsoleHelp, SurroundingBlanksAndControlCharactersAreTrimmed) {
  ExpectOutput(RunProgram("  \thelp \x01\nquit\n"), HelpText);
}

TEST(ConsoleCommands, CapitalsAndNearMissesAreNoCommand) {
  // Each of these goes to the move input, which takes none of them; the
  // loop carries on, as the last command shows.
  ExpectOutput(RunProgram("HELP\nHelp\nQ\nQUIT\nN\nhelp me\nhelpx\nm\nM 5\nmovetime\nmovetime5\n"
                          "p\nd\nquitx\nm 1\nquit\n"),
               MoveTimeLine("1000"));
}

TEST(ConsoleCommands, NewAndPlainMoveTextPrintNothingWithTheBoardOff) {
  // A move made would draw the board; b4 and f3 are moves, not the "b " and
  // "f " commands, or they would complain about their arguments.
  ExpectOutput(RunProgram("b 0\nnew\nn\ne2e4\ne4\nb4\nf3\nquit\n"), "");
}

TEST(ConsoleMoveTime, BothSpellingsSetSeconds) {
  ExpectOutput(RunProgram("m 10\nmovetime 3\nm 0\nquit\n"),
               MoveTimeLine("10000") + MoveTimeLine("3000") + MoveTimeLine("0"));
}

TEST(ConsoleMoveTime, SignsAndHexadecimalAreIntegers) {
  ExpectOutput(RunProgram("m -2\nm +4\nm $10\nm 0x1f\nquit\n"),
               MoveTimeLine("-2000") + MoveTimeLine("4000") + MoveTimeLine("16000") + MoveTimeLine("31000"));
}

TEST(ConsoleMoveTime, ProductWrapsInThirtyTwoBits) {
  // 2147484 * 1000 = 2147484000 passes 2^31 - 1 and wraps to negative.
  ExpectOutput(RunProgram("m 2147484\nm 2147483\nm 4294968\nquit\n"),
               MoveTimeLine("-2147483296") + MoveTimeLine("2147483000") + MoveTimeLine("704"));
}

TEST(ConsoleMoveTime, MalformedNumberEndsTheProgramWithTheConversionError) {
  ExpectConversionError(RunProgram("m abc\nhelp\n"), "abc");
  ExpectConversionError(RunProgram("movetime 5x\n"), "5x");
  ExpectConversionError(RunProgram("m 2147483648\n"), "2147483648");
  // A decimal point makes no integer.
  ExpectConversionError(RunProgram("movetime 1.5\n"), "1.5");
}

TEST(ConsoleInput, CrLfLineEndsWork) {
  ExpectOutput(RunProgram("m 3\r\nm 4\r\nhelp\r\nquit\r\n"), MoveTimeLine("3000") + MoveTimeLine("4000") + HelpText);
}

TEST(ConsoleInput, CommandSplitAcrossWritesWaitsForItsLineEnd) {
  ExpectOutput(RunProgram(std::vector<std::string>{"m 1", "2\n", "he", "lp", "\nquit\n"}),
               MoveTimeLine("12000") + HelpText);
}

TEST(ConsoleInput, LineOfAMegabyteComesWhole) {
  // The argument's leading blanks are part of the number's text.
  ExpectOutput(RunProgram("m " + std::string(1 << 20, ' ') + "7\nm 8\nquit\n"),
               MoveTimeLine("7000") + MoveTimeLine("8000"));
}

TEST(ConsoleInput, LinesWaitingTogetherAreTakenOneByOne) {
  std::string burst, expected;
  for (int i = 0; i < 1000; ++i) {
    burst += "m " + std::to_string(i % 10) + "\r\n";
    expected += MoveTimeLine(std::to_string(i % 10 * 1000));
  }
  ExpectOutput(RunProgram(burst + "quit\n"), expected);
}

TEST(ConsoleInput, NulCutsTheLine) {
  ExpectOutput(RunProgram(std::string("m 12\0" "3\nquit\n", 12)), MoveTimeLine("12000"));
}

TEST(ConsoleInput, LastLineWithoutLineEndIsTakenAtEndOfInput) {
  ExpectOutput(RunProgram("m 9"), MoveTimeLine("9000"));
}

TEST(ConsoleHandOver, UciWritesItsIdentityAndOptions) {
  ExpectOutput(RunProgram("uci\nquit\n"),
               "id name Velkar 0.5.9 RND\r\n"
               "id author the Velkar developers\r\n"
               "option name Hash type spin default 256 min 16 max 512\r\n"
               "uciok\r\n");
}

TEST(ConsoleHandOver, XboardWritesAnEmptyLine) { ExpectOutput(RunProgram("xboard\nquit\n"), "\r\n"); }

TEST(ConsoleHandOver, OnlyTheExactWordHandsOver) {
  ExpectOutput(RunProgram("UCI\nuci2\nucinewgame\nxboard2\nXboard\nquit\n"), "");
}

TEST(ConsoleInfo, PrintsTheLogoAndStartsAgain) {
  ProgramResult r = RunProgram("info\ni\nquit\n");
  EXPECT_EQ(r.ExitCode, 0);
  std::string s = StartupText();
  ASSERT_EQ(r.Out.compare(0, s.size(), s), 0);
  std::string rest = r.Out.substr(s.size());
  const std::string tail =
      "\r\n\r\nVelkar 0.5.9 RND\r\n"
      "\r\nA WinBoard/UCI chess engine by the Velkar developers\r\n"
      "\r\nPlease report any bug to: velkar@example.org\r\n\r\n" +
      s;
  // Twice: an empty line, the 19 lines of art, the credits, the start-up lines.
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(rest.compare(0, 2, "\r\n"), 0);
    size_t pos = 2;
    for (int line = 0; line < 19; ++line) {
      size_t end = rest.find("\r\n", pos);
      ASSERT_NE(end, std::string::npos);
      EXPECT_GT(end, pos) << "art line " << line << " is empty";
      EXPECT_LE(end - pos, 80u);
      pos = end + 2;
    }
    ASSERT_EQ(rest.compare(pos, tail.size(), tail), 0) << rest.substr(pos);
    rest = rest.substr(pos + tail.size());
  }
  EXPECT_EQ(rest, "");
}

namespace {
const std::string StartFenLine = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\r\n";
}

TEST(ConsolePosition, BothSetBoardSpellingsTakeTheRestOfTheLine) {
  // The board display is switched off so that only the FEN lines show.
  ExpectOutput(RunProgram("b 0\ns 4k3/8/8/8/8/8/8/4K3 w - -\ne\nsetboard 8/8/8/3k4/8/8/8/4K3 b - -\ne\n"
                          "new\ne\nquit\n"),
               "4k3/8/8/8/8/8/8/4K3 w - - 0 1\r\n8/8/8/3k4/8/8/8/4K3 b - - 0 1\r\n" + StartFenLine);
}

TEST(ConsolePosition, SetBoardNeedsItsSpace) {
  // "setboard" alone and "s" alone are no commands; the position stays.
  ExpectOutput(RunProgram("b 0\nsetboard\ns\nsetboard4k3/8/8/8/8/8/8/4K3 w - -\ne\nquit\n"), StartFenLine);
}
