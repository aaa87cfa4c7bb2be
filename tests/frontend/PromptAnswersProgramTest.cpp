// Answers to the suites' prompts, however their bytes arrive: in one write or
// in pieces with pauses between them, with LF, CR LF or CR, longer than a
// pipe holds, over-long, typed at a terminal with Ctrl-D inside a line or key by key.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"

namespace {

const std::string OnlyMove = std::string(VELKAR_TEST_DATA) + "/onlymove.epd";
// The file name in two pieces.
const std::string NameHead = OnlyMove.substr(0, OnlyMove.size() - 7), NameTail = OnlyMove.substr(NameHead.size());
const std::string PerftRan = "Depth: 1 Nodes: 1 ";
const std::string Dropped = "Input line longer than 67108864 bytes dropped\n";

// Times and speeds depend on the machine, and so does the padding after them.
std::string MaskTiming(const std::string& text) {
  static const std::regex totals(R"(Time: \S+ +NPS: \S+ *)"), time(R"( +(\d+[hm])*\d+\.\d\d\b)");
  return std::regex_replace(std::regex_replace(text, totals, "Time: T NPS: S "), time, " T");
}

std::string Joined(const std::vector<std::string>& pieces) {
  std::string whole;
  for (const std::string& piece : pieces) whole += piece;
  return whole;
}

std::string WithLf(std::string text) {
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
  return text;
}

}  // namespace

TEST(PromptAnswers, ArriveWholeHoweverTheirBytesArrive) {
  const std::string X(size_t{64} << 20, 'x');  // too long with any line end
  struct Case {
    const char* Prompt;
    std::vector<std::string> Pieces;  // the writes of the run in pieces
    std::string Shows;                // in the output once the answer arrived whole
    std::string Err;
  };
  const Case cases[] = {
      {"perft suite file", {"pe\n", NameHead, NameTail + "\n1\nq\nquit\n"}, PerftRan, ""},
      {"perft suite depth", {"pe\n" + OnlyMove + "\n ", "1", "\nq\nquit\n"}, PerftRan, ""},
      // Answered in pieces, the walk would go on to the next position.
      {"perft suite enter", {"pe\n" + OnlyMove + "\n1\n", "Q", "\n", "quit\n"}, PerftRan, ""},
      {"test suite file", {"t\n", NameHead, NameTail + "\n1\nquit\n"}, "Tests solved by time", ""},
      {"test suite seconds", {"t\n" + OnlyMove + "\n", "1", "\nquit\n"}, "Tests solved by time", ""},
      {"walk file", {"v\n", NameHead, NameTail + "\nq\nquit\n"}, "Position 1: ", ""},
      {"walk enter", {"v\n" + OnlyMove + "\n", "q", "\r", "\nquit\n"}, "Position 1: ", ""},
      // More than a pipe holds, so even the whole answer takes several reads.
      {"answer longer than a pipe", {"pe\n" + OnlyMove + "\n1", std::string(200000, ' '), "\nq\nquit\n"},
       PerftRan, ""},
      // Dropped whole, its LF too, also when that comes in a read of its own:
      // the next line is the answer.
      {"over-long answer", {"pe\n" + X + "\r", "\n" + OnlyMove + "\n1\nq\nquit\n"}, PerftRan, Dropped},
      // Every line ended by CR LF, each LF at the start of the next write: the
      // LF of neither a command nor a dropped answer is an answer of its own.
      {"CR LF, perft suite file", {"pe\r", "\n" + X + "\r", "\n" + OnlyMove + "\r\n1\r\nq\r\nquit\r\n"}, PerftRan,
       Dropped},
      {"CR LF, perft suite depth", {"pe\r\n" + OnlyMove + "\r", "\n" + X + "\r", "\n1\r\nq\r\nquit\r\n"}, PerftRan,
       Dropped},
      {"CR LF, test suite file, two in a row",
       {"t\r", "\n" + X + "\r", "\n" + X + "\r", "\n" + OnlyMove + "\r\n1\r\nquit\r\n"}, "Tests solved by time",
       Dropped + Dropped},
      {"CR LF, test suite seconds", {"t\r\n" + OnlyMove + "\r", "\n" + X + "\r", "\n1\r\nquit\r\n"},
       "Tests solved by time", Dropped},
      {"CR LF, walk file", {"v\r", "\n" + X + "\r", "\n" + OnlyMove + "\r\nq\r\nquit\r\n"}, "Position 1: ", Dropped},
      {"CR LF, walk enter", {"v\r\n" + OnlyMove + "\r\n\r", "\n" + X + "\r", "\nq\r\nquit\r\n"}, "Position 2: ",
       Dropped},
  };
  StreamOptions apart;
  apart.EachChunkReadFirst = true;
  for (const Case& c : cases) {
    // The measure: the whole input in one write, every line ended by LF.
    const ProgramResult lf = RunProgram({"b 0\n" + WithLf(Joined(c.Pieces))});
    EXPECT_NE(lf.Out.find(c.Shows), std::string::npos) << c.Prompt;
    std::vector<std::string> pieces = c.Pieces;
    pieces.front() = "b 0\n" + pieces.front();
    const ProgramResult whole = RunProgram({Joined(pieces)});
    const ProgramResult split = RunProgram(pieces, 100, 60000, apart);
    for (const ProgramResult* r : {&lf, &whole, &split}) {
      EXPECT_EQ(r->ExitCode, 0) << c.Prompt;
      EXPECT_EQ(r->Err, c.Err) << c.Prompt;
      EXPECT_EQ(MaskTiming(r->Out), MaskTiming(lf.Out)) << c.Prompt;
    }
  }
}

TEST(PromptAnswers, AtATerminalCtrlDInsideALineAndKeyByKeyTypingGiveTheWholeAnswer) {
  const std::string ready = "list of commands\r\n\r\n";
  const std::string input = "b 0\npe\n" + OnlyMove + "\n1\nq\nquit\n";
  const ProgramResult lines = RunProgramOnTerminal("", {input}, {ready});
  EXPECT_EQ(lines.ExitCode, 0);
  EXPECT_NE(lines.Out.find(PerftRan), std::string::npos);
  // Ctrl-D hands over what is typed so far: the name arrives in two reads.
  TerminalOptions pause;
  pause.PauseMs = 300;
  const ProgramResult ctrlD = RunProgramOnTerminal(
      "", {"b 0\npe\n" + NameHead + "\x04", NameTail + "\n1\nq\nquit\n"}, {ready}, 60000, pause);
  EXPECT_EQ(ctrlD.ExitCode, 0);
  EXPECT_EQ(MaskTiming(ctrlD.Out), MaskTiming(lines.Out));
  // Without line editing every key is read as it comes.
  std::vector<std::string> keys;
  for (char key : input) keys.emplace_back(1, key);
  TerminalOptions byKey;
  byKey.LineMode = false;
  byKey.PauseMs = 5;
  const ProgramResult typed = RunProgramOnTerminal("", keys, {ready}, 60000, byKey);
  EXPECT_EQ(typed.ExitCode, 0);
  EXPECT_EQ(MaskTiming(typed.Out), MaskTiming(lines.Out));
}
