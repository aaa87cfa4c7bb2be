// The EPD test suite and the evaluation walk-through through the real program.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "support/BoxText.h"
#include "support/ProgramSession.h"
#include "support/TempDir.h"

namespace {

const std::string FilePrompt = "\r\nEPD filename (.epd is optional) or <ENTER> to abort: ";
const std::string SecondsPrompt = "\r\nSeconds per position (1-3600), <ENTER> to abort: ";
const std::string ContinuePrompt = "Press <ENTER> to continue or <q><ENTER> to abort: ";
const std::string Rule = Frame("", 80, "\r\n");
const std::string Top = Frame("\xDA", 78, "\xBF");
const std::string Bottom = Frame("\xC0", 78, "\xD9");
const std::string Blank(80, ' ');
const std::string Bar = "\xB3";
const std::string OnlyMove = std::string(VELKAR_TEST_DATA) + "/onlymove";
// Score and time of the progress line, time and speed of the result row
// depend on the evaluation and the machine; the rest is exact.
std::string MaskTiming(const std::string& text) {
  static const std::regex progress(R"(\r\n     1/1[ #0-9-]{7}[ 0-9hm.]{12}      1  )");
  static const std::regex totals(R"( Time: [0-9hm.]+ NPS: (oo|\d+|\d+\.\d+[kM]|\d+[kM]) +)");
  return std::regex_replace(std::regex_replace(text, progress, "\r\n     1/1 score time      1  "), totals,
                            " Time: T NPS: S|");
}

// Every title and totals row runs from its bar to the closing bar in 80 bytes.
void ExpectRowsOf80(const std::string& out) {
  for (const std::string& start : {Bar + "Position ", Bar + "Solved: "})
    for (size_t at = out.find(start); at != std::string::npos; at = out.find(start, at + 1))
      EXPECT_EQ(out.find('\xB3', at + 1) + 1 - at, 80u) << out.substr(at, 90);
}

std::string TitleBox(int n, const std::string& title) {
  std::string text = "Position " + std::to_string(n) + ": " + title + std::string(61, ' ');
  return Top + Bar + text.substr(0, 78) + Bar + Bottom + Blank;
}

// A test-suite round with the board off, masked.
std::string Round(int n, const std::string& title, const std::string& pv, const std::string& totals, bool solved) {
  return "\r\n\r\n" + TitleBox(n, title) + "\r\n     1/1 score time      1  " + pv + "\r\n" + Top + Bar +
         "Solved: " + totals + " Time: T NPS: S|" + (solved ? "\xB3" : "NOT SOLVED!  \xB3") + Bottom + Blank + Rule;
}

std::string SolvedByTimeTable(int solvedUnderZero) {
  std::string table = Frame("\xDA", 20, "\xBF\r\n") + Bar + "Tests solved by time" + Bar + std::string(58, ' ') +
                      Frame("\xC0", 20, "\xD9 \r\n\r\n");
  char row[32];
  for (int i = 0; i <= 10; ++i) {
    std::snprintf(row, sizeof row, "  %3d Secs  %5d\r\n", i, i == 0 ? solvedUnderZero : 0);
    table += row;
  }
  return table + "  >10 Secs      0\r\n";
}

// The output cut after each end mark (a rule, a prompt); the rest comes last.
std::vector<std::string> Rounds(const std::string& out, const std::string& end = Rule) {
  std::vector<std::string> rounds;
  size_t from = 0;
  for (size_t at; (at = out.find(end, from)) != std::string::npos; from = at + end.size())
    rounds.push_back(out.substr(from, at + end.size() - from));
  rounds.push_back(out.substr(from));
  return rounds;
}

}  // namespace

TEST(TestSuiteProgram, RunsEveryPositionAndCountsItsSolves) {
  const std::string out = SessionOutput("b 0\nt\n" + OnlyMove + "\n1\ne\nquit\n");
  ExpectRowsOf80(out);
  EXPECT_EQ(out.find("NPS: OO"), std::string::npos);
  const std::string masked = MaskTiming(out);
  // Solved, solved by the second of two moves, mate text missing from the
  // record, a pawn move inside a capture, a coordinate record.
  std::string expected =
      FilePrompt + SecondsPrompt + Round(1, "bm Qxc3#; id \"only.1\";", "1.Qxc3#", "1/1 Nodes: 1", true) +
      Round(2, "bm Rb1 Qxc6#;", "1...Qxc6#", "2/2 Nodes: 2", true) +
      Round(3, "bm Qxc3; id \"only.3\";", "1.Qxc3+", "2/3 Nodes: 3", false) +
      Round(4, "bm exd5; id \"only.4\";", "1.d5", "3/4 Nodes: 4", true) +
      Round(5, "bm b2c3; id \"only.5\";", "1.Qxc3#", "3/5 Nodes: 5", false) + SolvedByTimeTable(3) + Rule;
  ASSERT_EQ(masked.substr(0, expected.size()), expected);
  EXPECT_NE(out.find(Bar + "Position 1: bm Qxc3#; id \"only.1\";" + std::string(44, ' ') + Bar), std::string::npos);
  const std::string stats = masked.substr(expected.size());
  EXPECT_EQ(stats.substr(0, 37), HashStatsBox({}));
  const std::string tail = Frame("", 34, "\r\n6bk/7p/8/8/8/npb5/1Q6/K7 w - - 0 1\r\n");
  EXPECT_EQ(stats.substr(stats.size() - std::min(stats.size(), tail.size())), tail);
  // CR LF answers, answers split across writes and other seconds in range give the same bytes.
  const std::vector<std::string> inputs[] = {{"b 0\r\nt\r\n" + OnlyMove + "\r\n1\r\ne\r\nquit\r\n"},
                                             {"b 0\r\nt\r", "\n" + OnlyMove + "\r", "\n1\r", "\ne\r\nquit\r\n"},
                                             {"b 0\nt\n" + OnlyMove + "\n$10\ne\nquit\n"},
                                             {"b 0\nt\n" + OnlyMove + "\n3600\ne\nquit\n"}};
  for (const auto& input : inputs) EXPECT_EQ(MaskTiming(SessionOutput(input)), masked) << input[0];
}

TEST(TestSuiteProgram, FileLookup) {
  TempDir dir;
  dir.Write("upper.EPD.epd", "");
  const std::string missing = dir.Path + "/missing";
  const auto notFound = [](const std::string& name) { return "\r\nError: file \"" + name + "\" not found!\r\n"; };
  // Only ".epd" exactly is an extension: "upper.EPD" finds upper.EPD.epd.
  EXPECT_EQ(
      SessionOutput("t\n" + missing + "\n" + missing + ".epd\n" + dir.Path + "\n" + dir.Path + "/upper.EPD\n\nquit\n"),
      FilePrompt + notFound(missing) + FilePrompt + notFound(missing + ".epd") + FilePrompt + notFound(dir.Path) +
          FilePrompt + SecondsPrompt);
  EXPECT_EQ(SessionOutput("v\n\nquit\n"), FilePrompt);
  EXPECT_EQ(SessionOutput("t\n"), FilePrompt);
}

TEST(TestSuiteProgram, AFileThatExistsButCannotBeOpenedEndsTheProgram) {
  // A socket exists, but nobody opens it as a file, not even root.
  TempDir dir;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = dir.Path + "/socket.epd";
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ProgramResult r = RunProgram("t\n" + dir.Path + "/socket\n1\nquit\n");
  close(fd);
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "I/O error\n");
  EXPECT_EQ(r.Out, StartupText() + FilePrompt);
}

TEST(TestSuiteProgram, SecondsOutsideOneToAnHourAskAgain) {
  EXPECT_EQ(SessionOutput("t\n" + OnlyMove + "\n0\n3601\nabc\n\nquit\n"),
            FilePrompt + SecondsPrompt + SecondsPrompt + SecondsPrompt + SecondsPrompt);
}

TEST(TestSuiteProgram, MalformedLinesAndEmptyFilesAreNeverSolved) {
  TempDir dir;
  // The last position is mated after a solve with the same record: no move text, no solve.
  const std::string lines[] = {"", "xyz bm Kh1;", "7k/8/8/8/3P4/np1n4/8/K7 w - - id \"d5 push\";",
                               "7k/8/8/8/3P4/np1n4/8/K7 w - - bm d5", "7k/8/8/8/3P4/np1n4/8/K7 w - - bm",
                               "6bk/7p/8/8/8/npb5/1Q6/K7 w - - bm Qxc3#;", "k7/8/8/8/8/8/5PPP/r5K1 w - - bm Qxc3#;"};
  std::string content;
  for (const std::string& line : lines) content += line + "\n";
  const std::string out = MaskTiming(SessionOutput("b 0\nt\n" + dir.Write("bad.epd", content) + "\n1\nquit\n"));
  // The rounds, the final table, the statistics.
  auto rounds = Rounds(out.substr(FilePrompt.size() + SecondsPrompt.size()));
  ASSERT_EQ(rounds.size(), 9u) << out;
  for (int i = 0; i < 7; ++i) {
    std::string totals = "Solved: " + std::to_string(i == 5 ? 1 : i > 5) + "/" + std::to_string(i + 1) + " ";
    EXPECT_NE(rounds[i].find(totals), std::string::npos) << i << rounds[i];
    EXPECT_EQ(rounds[i].find("NOT SOLVED!") == std::string::npos, i == 5) << i << rounds[i];
  }
  // The syntax scan names the stray character's kind before its message.
  const std::string illegal = "\r\n\r\n3\r\n\r\nIllegal FEN: syntax is not recognized\r\n" + Top;
  EXPECT_EQ(rounds[1].substr(0, illegal.size()), illegal);
  EXPECT_NE(rounds[2].find("  1.d5\r\n"), std::string::npos);
  // A file without lines runs one round with an empty line: a 75-byte title row.
  rounds = Rounds(MaskTiming(SessionOutput("b 0\nt\n" + dir.Write("empty.epd", "") + "\n1\nquit\n")));
  ASSERT_EQ(rounds.size(), 3u);
  EXPECT_NE(rounds[0].find(Top + Bar + "Position 1: " + std::string(61, ' ') + Bar + Bottom), std::string::npos);
  EXPECT_NE(rounds[0].find("Solved: 0/1 Nodes: 1 "), std::string::npos) << rounds[0];
}

TEST(EvalSuiteProgram, WalksOnUntilQOrTheEnd) {
  const std::string first = FilePrompt + "\r\n\r\n" + TitleBox(1, "bm Qxc3#; id \"only.1\";") + "\r\n" + Rule +
                            ContinuePrompt + "\r\n\r\n" + TitleBox(2, "bm Rb1 Qxc6#;");
  // "Q", "quit" and an empty answer go on, "q" stops; the last position stays.
  std::string out = SessionOutput("b 0\nv\n" + OnlyMove + "\nQ\nquit\n\nq\ne\nquit\n");
  EXPECT_EQ(out.substr(0, first.size()), first);
  auto rounds = Rounds(out, ContinuePrompt);
  ASSERT_EQ(rounds.size(), 5u);
  EXPECT_EQ(rounds[4], "7k/8/8/8/3P4/np1n4/8/K7 w - - 0 1\r\n");
  // The file's end stops too.
  rounds = Rounds(SessionOutput("b 0\nv\n" + OnlyMove + "\n\n\n\n\n\ne\nquit\n"), ContinuePrompt);
  ASSERT_EQ(rounds.size(), 6u);
  EXPECT_EQ(rounds[5], "6bk/7p/8/8/8/npb5/1Q6/K7 w - - 0 1\r\n");
}

TEST(EvalSuiteProgram, TheBoardFollowsTheTitleBox) {
  // The board command afterwards shows the same position the same way.
  const std::string out = SessionOutput("v\n" + OnlyMove + "\nq\nb\nquit\n");
  const size_t at = out.rfind(ContinuePrompt);
  ASSERT_NE(at, std::string::npos);
  const std::string board = out.substr(at + ContinuePrompt.size());
  EXPECT_NE(board.find("Material:"), std::string::npos);
  EXPECT_EQ(out, FilePrompt + "\r\n\r\n" + TitleBox(1, "bm Qxc3#; id \"only.1\";") + board + "\r\n" + Rule +
                     ContinuePrompt + board);
}

TEST(EvalSuiteProgram, OnATerminalEachBoxRowEndsItsLine) {
  ProgramResult r = RunProgramOnTerminal("", {"b 0\n", "v\n", OnlyMove + "\n", "q\n", "quit\n"},
                                         {"commands\r\n\r\n", "", "abort: ", "abort: ", ""});
  EXPECT_EQ(r.ExitCode, 0);
  // The line feed goes out in the default colours.
  for (const char* end : {"\u2510\r\x1b[0m\n", "\u2502\r\x1b[0m\n", "\u2518\r\x1b[0m\n"})
    EXPECT_NE(r.Out.find(end), std::string::npos);
  EXPECT_NE(r.Out.find(Blank + "\r\n"), std::string::npos);
}
