// Perft, divide and the perft suite through the real program over pipes.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/ProgramSession.h"
#include "support/TempDir.h"

namespace {

const std::string Rule = std::string(80, '\xC4') + "\r\n";
const std::string Prompt = "\r\n- Enter (Q to finish) -\r\n";
const std::string DataDir = VELKAR_TEST_DATA;

// Time and speed depend on the machine (their exact texts are unit-tested);
// here they must only be well formed.
std::string MaskTiming(const std::string& text) {
  static const std::regex timing(
      R"( Time: (\d+h\d\dm\d\d|\d+m\d\d|\d+)\.\d\d  NPS: (OO|\d+|\d+\.\d+[kM]|\d+[kM])\r\n)");
  return std::regex_replace(text, timing, " Time: T  NPS: S\r\n");
}

std::string Result(int depth, const std::string& nodes) {
  return "Depth: " + std::to_string(depth) + " Nodes: " + nodes + " Time: T  NPS: S\r\n";
}

std::string Session(const std::string& input) { return MaskTiming(SessionOutput(input)); }

// The perft suite's output cut at its rules: the prompts, then one piece per
// position (its board, the line, the count and the pause prompt).
std::vector<std::string> Rounds(const std::string& out) {
  std::vector<std::string> rounds;
  size_t from = 0;
  for (size_t at; (at = out.find(Rule, from)) != std::string::npos; from = at + Rule.size())
    rounds.push_back(out.substr(from, at - from));
  rounds.push_back(out.substr(from));
  return rounds;
}

// An EPD line as the suite shows it: between empty lines.
std::string Shown(const std::string& line) { return "\r\n" + line + "\r\n\r\n"; }

}  // namespace

TEST(PerftProgram, PerftCountsEveryDepthUpToTheRequestedOne) {
  const std::string expected = "\r\n" + Result(1, "20") + Result(2, "400") + Result(3, "8,902");
  EXPECT_EQ(Session("p 3\nquit\n"), expected);
  EXPECT_EQ(Session("perft 3\nquit\n"), expected);
  EXPECT_EQ(Session("perft 3x\nquit\n"), expected);
  EXPECT_EQ(Session("p   3\nquit\n"), expected);
  // The argument starts at a fixed character, whatever stands before it.
  EXPECT_EQ(Session("perftx3\nquit\n"), expected);
}

TEST(PerftProgram, DivideListsRootMovesOnlyAtTheLastDepth) {
  // Root moves in the generator's order: knights and pawns from the lowest
  // square up, double steps before single steps.
  const char* moves[20] = {"b1a3", "b1c3", "g1f3", "g1h3", "a2a4", "b2b4", "c2c4", "d2d4", "e2e4", "f2f4",
                           "g2g4", "h2h4", "a2a3", "b2b3", "c2c3", "d2d3", "e2e3", "f2f3", "g2g3", "h2h3"};
  std::string expected = "\r\n" + Result(1, "20") + Rule;
  for (int i = 0; i < 20; ++i) expected += std::to_string(i) + ". " + moves[i] + " 20\r\n";
  expected += Rule + Result(2, "400");
  EXPECT_EQ(Session("d 2\nquit\n"), expected);
  EXPECT_EQ(Session("divide 2\nquit\n"), expected);
}

TEST(PerftProgram, DivideCountsEachRootMoveSeparately) {
  // After 1. e4 c5 2. e5 d5 the en-passant capture e5d6 is the last root move.
  std::string out = Session("s rnbqkbnr/pp2pppp/8/2ppP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3\nd 2\nquit\n");
  const std::string tail = Rule + Result(2, "865");
  ASSERT_TRUE(EndsWith(out, tail)) << out;
  std::regex line(R"((\d+)\. ([a-h][1-8][a-h][1-8]) (\d+)\r\n)");
  std::string body = out.substr(0, out.size() - tail.size());
  body = body.substr(body.rfind(Rule) + Rule.size());
  int index = 0;
  int64_t sum = 0;
  std::string last;
  for (std::sregex_iterator it(body.begin(), body.end(), line), end; it != end; ++it, ++index) {
    EXPECT_EQ((*it)[1], std::to_string(index));
    sum += std::stoll((*it)[3]);
    last = (*it)[2];
  }
  EXPECT_EQ(std::regex_replace(body, line, ""), "");
  EXPECT_EQ(index, 31);
  EXPECT_EQ(sum, 865);
  EXPECT_EQ(last, "e5d6");
}

TEST(PerftProgram, DivideToDepthOneWritesTwoRulesWithNothingBetween) {
  EXPECT_EQ(Session("d 1\nquit\n"), "\r\n" + Rule + Rule + Result(1, "20"));
}

TEST(PerftProgram, BadDepthsGiveTheUsageLine) {
  const std::string perft = "\r\nUsage: perft <1..255>\r\n";
  const std::string divide = "\r\nUsage: divide <1..255>\r\n";
  EXPECT_EQ(Session("p 0\np 256\np abc\nperft\nquit\n"), perft + perft + perft + perft);
  EXPECT_EQ(Session("d 0\ndivide 256\ndivide\nd -1\nd 99999999999\nquit\n"),
            divide + divide + divide + divide + divide);
}

TEST(PerftProgram, HexadecimalDepthInAMatedPosition) {
  // Black is mated: nothing to count at any of the 16 depths of "$10".
  std::string out = Session("s 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1\np $10\nquit\n");
  std::string expected = "\r\n";
  for (int d = 1; d <= 16; ++d) expected += Result(d, "0");
  EXPECT_TRUE(EndsWith(out, expected)) << out;
}

TEST(PerftSuiteProgram, RunsEveryPositionOfTheFileAndEndsByItself) {
  const std::string file = DataDir + "/perftsuite.epd";
  std::ifstream in(file);
  std::string lines[3];
  for (auto& l : lines) std::getline(in, l);
  const std::string counts[3][2] = {{"20", "400"}, {"14", "191"}, {"48", "2,039"}};

  auto rounds = Rounds(Session("pe\n" + file + "\n2\n\n\n\nquit\n"));
  ASSERT_EQ(rounds.size(), 4u);
  EXPECT_EQ(rounds[0], "Perft EPD file: \r\nMax Depth: \r\n");
  for (int i = 0; i < 3; ++i) {
    // The board of the position comes first.
    const std::string& round = rounds[i + 1];
    EXPECT_EQ(round.substr(0, 21), "\r\n  a b c d e f g h\r\n") << round;
    const std::string tail = Shown(lines[i]) + "\r\n" + Result(1, counts[i][0]) + Result(2, counts[i][1]) + Prompt;
    EXPECT_TRUE(EndsWith(round, tail)) << round;
    EXPECT_LT(round.find("\r\nMaterial: "), round.size() - tail.size()) << round;
  }
}

TEST(PerftSuiteProgram, CrLfAnswersReadLikeLfAnswers) {
  // The LF that completes the command's CR LF is no answer to the first
  // prompt, whether it comes with the command or in a later write.
  const std::string file = DataDir + "/perftsuite.epd";
  const std::string lf = Session("pe\n" + file + "\n2\n\n\n\nquit\n");
  EXPECT_EQ(Session("pe\r\n" + file + "\r\n2\r\n\r\n\r\n\r\nquit\r\n"), lf);
  ProgramResult split = RunProgram({"pe\r", "\n" + file + "\r", "\n2\r", "\n\r\n\r\n\r\nquit\r\n"});
  EXPECT_EQ(split.ExitCode, 0);
  EXPECT_EQ(split.Err, "");
  EXPECT_EQ(MaskTiming(split.Out.substr(StartupText().size())), lf);
}

TEST(PerftSuiteProgram, AnAnswerStartingWithQFinishes) {
  const std::string file = DataDir + "/perftsuite.epd";
  for (const char* answer : {"quit", "Q"}) {
    auto rounds = Rounds(Session("pe\n" + file + "\n1\n" + answer + "\nquit\n"));
    ASSERT_EQ(rounds.size(), 2u) << answer;
    EXPECT_TRUE(EndsWith(rounds[1], "\r\n" + Result(1, "20") + Prompt)) << answer;
  }
  // The last position set up stays after the suite.
  std::string out = Session("pe\n" + file + "\n1\n\nq\np 1\nquit\n");
  EXPECT_TRUE(EndsWith(out, Prompt + "\r\n" + Result(1, "14"))) << out;
}

TEST(PerftSuiteProgram, BadDepthGivesTheUsageLineAtEveryPosition) {
  // Lines ended by CR LF, the last one by nothing.
  TempDir dir;
  std::string file = dir.Write("suite.epd", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -\r\n4k3/8/8/8/8/8/8/4K3 w - -");
  auto rounds = Rounds(Session("pe\n" + file + "\nx\n\n\nquit\n"));
  ASSERT_EQ(rounds.size(), 3u);
  const std::string usage = "\r\nUsage: perft <1..255>\r\n" + Prompt;
  EXPECT_TRUE(EndsWith(rounds[1], Shown("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -") + usage)) << rounds[1];
  EXPECT_TRUE(EndsWith(rounds[2], Shown("4k3/8/8/8/8/8/8/4K3 w - -") + usage)) << rounds[2];
}

TEST(PerftSuiteProgram, AFileWithoutLinesRunsOneRoundWithAnEmptyLine) {
  TempDir dir;
  auto rounds = Rounds(Session("pe\n" + dir.Write("suite.epd", "") + "\n1\n\nquit\n"));
  ASSERT_EQ(rounds.size(), 2u);
  // The empty line is no FEN: the start position stays and is counted.
  EXPECT_TRUE(EndsWith(rounds[1], Shown("") + "\r\n" + Result(1, "20") + Prompt)) << rounds[1];
}

TEST(PerftSuiteProgram, AMissingFileEndsTheProgram) {
  ProgramResult r = RunProgram("pe\n" + DataDir + "/no-such-suite.epd\n2\nquit\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "File not found\n");
  EXPECT_TRUE(EndsWith(r.Out, "Perft EPD file: \r\n")) << r.Out;
}

TEST(PerftSuiteProgram, ADirectoryOrNoNameEndsTheProgram) {
  ProgramResult r = RunProgram("pe\n" + DataDir + "\n2\nquit\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "Access denied\n");
  EXPECT_TRUE(EndsWith(r.Out, "Perft EPD file: \r\n")) << r.Out;
  r = RunProgram("pe\n\n2\nquit\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "File not found\n");
}
