// Input of hostile sizes: a long line arrives whole, an over-long one is
// dropped whole, a burst is answered line by line, a suite file's line is
// read whole up to its bound and refused past it, and suite files whose line
// never ends or whose writer never comes end cleanly; output whose reader
// goes ends the run, with exit code 0 only where nothing was lost.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"
#include "support/TempDir.h"

namespace {

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

TEST(InputBounds, ALongLineArrivesWholeAndAnOverLongOneIsDroppedWhole) {
  // 1,000,001 plies in 5 MB: Black to move.
  std::string moves;
  for (int i = 0; i < 250000; ++i) moves += "g1f3 g8f6 f3g1 f6g8 ";
  moves += "e2e4";
  // Wherever it were cut, the over-long line's tail would read "quit".
  const std::string overLong = "x" + std::string(size_t{64} << 20, ' ') + "quit";
  ProgramResult r = RunProgram(
      {"uci\nposition startpos moves " + moves + "\ngo depth 1\n" + overLong + "\ngo depth 1\nisready\nquit\n"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Err, "Input line longer than 67108864 bytes dropped\n");
  const std::regex blackMove("bestmove [a-h][78][a-h][1-8]\r\n");
  EXPECT_EQ(std::distance(std::sregex_iterator(r.Out.begin(), r.Out.end(), blackMove), std::sregex_iterator()), 2)
      << r.Out;
  EXPECT_TRUE(EndsWith(r.Out, "readyok\r\n"));
}

TEST(InputBounds, AMillionLinesInOneWriteAreAllAnswered) {
  std::string burst = "uci\n";
  for (int i = 0; i < 1000000; ++i) burst += "isready\n";
  // The old buffer took 53 s for this; a line must cost only its own bytes.
  ProgramResult r = RunProgram({burst + "quit\n"}, 0, 30000);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(Count(r.Out, "readyok\r\n"), 1000000u);
}

TEST(InputBounds, SuiteFilesThatNeverEndOrNeverOpenEndCleanly) {
  TempDir dir;
  const std::string fifo = dir.Path + "/no-writer.epd";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    std::string Input;
    int ExitCode;
    std::string Err, OutTail;
  };
  const std::string tooLong = "I/O error: line longer than 1 MiB\n";
  const Case cases[] = {
      {"pe\n/dev/zero\n2\n", 1, tooLong, "Max Depth: \r\n"},
      {"t\n/dev/zero\n1\n", 1, tooLong, "<ENTER> to abort: "},
      {"v\n/dev/zero\n", 1, tooLong, "<ENTER> to abort: "},
      // A FIFO nobody writes to reads as an empty file.
      {"pe\n" + fifo + "\n1\nq\nquit\n", 0, "", "- Enter (Q to finish) -\r\n"},
      {"v\n" + fifo + "\nq\nquit\n", 0, "", "<q><ENTER> to abort: "},
  };
  for (const Case& c : cases) {
    ProgramResult r = RunProgram({c.Input}, 50, 20000);
    EXPECT_EQ(r.ExitCode, c.ExitCode) << c.Input;
    EXPECT_EQ(r.Err, c.Err) << c.Input;
    EXPECT_TRUE(EndsWith(r.Out, c.OutTail)) << c.Input << r.Out.substr(r.Out.size() - std::min<size_t>(200, r.Out.size()));
  }
}

namespace {

constexpr size_t MaxLine = size_t{64} << 20;

// A console line of exactly length bytes, its line end included, that plays
// the move when it arrives whole.
std::string PaddedMove(const std::string& move, const std::string& lineEnd, size_t length) {
  return std::string(length - move.size() - lineEnd.size(), ' ') + move + lineEnd;
}

}  // namespace

TEST(InputBounds, TheBoundHoldsExactlyForEveryLineEnd) {
  struct Line {
    std::string Move, End;
    size_t Length;  // with its line end
  };
  // Played: e2e4 e7e6 d2d4. Each line one byte past the bound would change
  // the position if any of it were played.
  const Line lines[] = {
      {"e2e4", "\n", MaxLine},     {"e7e5", "\n", MaxLine + 1}, {"e7e6", "\r\n", MaxLine},
      {"d2d3", "\r\n", MaxLine + 1}, {"d2d4", "\r", MaxLine},   {"d7d5", "\r", MaxLine + 1},
  };
  std::vector<std::string> input;
  for (const Line& l : lines) input.push_back(PaddedMove(l.Move, l.End, l.Length));
  input.push_back("epd\n");
  ProgramResult r = RunProgram(input, 0);
  EXPECT_EQ(r.ExitCode, 0);
  const std::string dropped = "Input line longer than 67108864 bytes dropped\n";
  EXPECT_EQ(r.Err, dropped + dropped + dropped);
  EXPECT_TRUE(EndsWith(r.Out, "\r\nrnbqkbnr/pppp1ppp/4p3/8/3PP3/8/PPP2PPP/RNBQKBNR b KQkq d3 0 2\r\n"));

  // A last line without a line end has nothing more to count.
  ProgramResult played = RunProgram({PaddedMove("e2e4", "", MaxLine)});
  EXPECT_EQ(played.Err, "");
  EXPECT_EQ(played.Out, RunProgram("e2e4").Out);
  ProgramResult over = RunProgram({PaddedMove("e2e4", "", MaxLine + 1)});
  EXPECT_EQ(over.Err, dropped);
  EXPECT_EQ(over.Out, StartupText());
}

TEST(InputBounds, AStreamOfShortLinesKeepsLittleResident) {
  size_t lines;
  std::vector<std::string> stream = PagedIsReadyStream(9000000, lines);
  stream.insert(stream.begin(), "uci\n");
  ProgramResult r = RunProgram(stream, 0, 120000);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(Count(r.Out, "readyok\r\n"), lines);
  EXPECT_GT(r.PeakResidentMB, 0);
  EXPECT_LT(r.PeakResidentMB, 16);
}

TEST(OutputBounds, ANonBlockingOutputPipeLosesNoReply) {
  // The replies fill the pipe long before the reader comes.
  std::string burst = "uci\n";
  for (int i = 0; i < 100000; ++i) burst += "isready\n";
  StreamOptions lateReader;
  lateReader.NonBlockingOutput = true;
  lateReader.ReadDelayMs = 2000;
  ProgramResult r = RunProgram({burst + "quit\n"}, 0, 60000, lateReader);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(Count(r.Out, "readyok\r\n"), 100000u);
  EXPECT_TRUE(EndsWith(r.Out, "readyok\r\n"));
}

TEST(OutputBounds, AReaderThatHasGoneEndsTheRun) {
  // As `yes isready | velkar | head -3`: the output's reader goes after the
  // start-up text while input keeps coming, every 50 ms or as a flood; whether
  // the lines call for answers or not, nobody is left to read them. A GUI
  // that closes both pipes, its output first, even while a search is on,
  // ends the run as an end of input does.
  struct Case {
    const char* Label;
    std::string First, ClosedAfter, Paced;  // Paced: sent every 50 ms while input is open
    bool Flood, Socket, InputClosedToo;
    int ExitCode;
  };
  const Case cases[] = {
      {"console flood", "", StartupText(), "", true, false, false, 141},
      {"console flood into a socket", "", StartupText(), "", true, true, false, 141},
      {"uci", "uci\n", StartupText(), "isready\n", false, false, false, 141},
      {"idle console, both closed", "", StartupText(), "", false, false, true, 0},
      {"go infinite, both closed", "uci\ngo infinite\n", "hashfull 0\r\n", "", false, false, true, 0},
  };
  size_t lines;
  const std::vector<std::string> flood = PagedIsReadyStream(2000000, lines);
  for (const Case& c : cases) {
    StreamOptions streams;
    streams.CloseOutputOnceShown = c.ClosedAfter;
    streams.CloseInputToo = c.InputClosedToo;
    streams.SocketOutput = c.Socket;
    std::vector<std::string> input = c.Flood ? flood : std::vector<std::string>(400, c.Paced);
    input.insert(input.begin(), c.First);
    ProgramResult r = RunProgram(input, c.Flood ? 0 : 50, 60000, streams);
    EXPECT_EQ(r.ExitCode, c.ExitCode) << c.Label;
    EXPECT_GE(r.MsFromOutputClosedToEnd, 0) << c.Label;
    EXPECT_LT(r.MsFromOutputClosedToEnd, 1000) << c.Label;
    EXPECT_EQ(r.Err, "") << c.Label;
  }
}

TEST(OutputBounds, ExitCodeZeroOnlyWhereNothingWasLost) {
  // Through a shell, as scripts run it; its input's writer is done by the
  // time it starts. A cause other than a broken pipe is named.
  TempDir dir;
  struct Case {
    std::string Pipeline;  // {V} stands for the program
    int ExitCode;
    std::string Err;
  };
  const Case cases[] = {
      {"printf 'uci\\nisready\\nquit\\n' | {V} >/dev/full", 141, "Output error: No space left on device\n"},
      {"yes board 2>/dev/null | head -n 300 | {V} | head -c 100 >/dev/null", 141, ""},
      {"printf 'uci\\nisready\\n' | {V} >&-", 141, "Output error: Bad file descriptor\n"},
      {"printf 'uci\\nisready\\n' | {V} | cat >/dev/null", 0, ""},
  };
  const std::string program = "(sleep 0.2; " VELKAR_BINARY " 2>" + dir.Path + "/err; echo $? >" + dir.Path + "/code)";
  for (const Case& c : cases) {
    std::string pipeline = c.Pipeline;
    pipeline.replace(pipeline.find("{V}"), 3, program);
    ASSERT_EQ(std::system(pipeline.c_str()), 0) << pipeline;
    EXPECT_EQ(std::stoi(ReadFile(dir.Path + "/code")), c.ExitCode) << c.Pipeline;
    EXPECT_EQ(ReadFile(dir.Path + "/err"), c.Err) << c.Pipeline;
  }
}

TEST(InputBounds, SuiteFileLinesUpToOneMiBAreReadWholeAndLongerOnesRefused) {
  TempDir dir;
  const size_t bound = size_t{1} << 20;  // bytes before the line end
  const std::string fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
  struct Case {
    size_t Length;
    const char* End;
    int ExitCode;
    const char* Err;
    size_t Positions;  // a line cut in two would show two
  };
  const char* tooLong = "I/O error: line longer than 1 MiB\n";
  const Case cases[] = {
      {bound, "\n", 0, "", 1},          {bound, "\r\n", 0, "", 1},          {bound, "", 0, "", 1},
      {bound + 1, "\n", 1, tooLong, 0}, {bound + 1, "\r\n", 1, tooLong, 0}, {bound + 1, "", 1, tooLong, 0},
  };
  for (const Case& c : cases) {
    std::string line = fen;
    line.resize(c.Length, ' ');
    const std::string file = dir.Write("long.epd", line + c.End);
    ProgramResult r = RunProgram({"v\n" + file + "\n\nquit\n"}, 50, 20000);
    const std::string label = std::to_string(c.Length) + " bytes and a line end of " +
                              std::to_string(std::string(c.End).size());
    EXPECT_EQ(r.ExitCode, c.ExitCode) << label;
    EXPECT_EQ(r.Err, c.Err) << label;
    EXPECT_EQ(Count(r.Out, "Press <ENTER> to continue"), c.Positions) << label;
  }
}
