// The board display and its position report, as the console commands show them.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/BoxText.h"
#include "support/ProgramSession.h"

namespace {

const std::string V = "\xB3";
const std::string Blank(16, ' ');
const std::string Letters = "  a b c d e f g h";

// The output of the commands after the start-up text. The keys depend on the
// key tables alone; here they must only be well formed.
std::string Reply(const std::string& commands) {
  static const std::regex keys(R"(H=\$[0-9A-F]{16} P=\$[0-9A-F]{8}\r\n)");
  return std::regex_replace(SessionOutput(commands + "quit\n"), keys, "H=$K P=$K\r\n");
}

// The evaluation box: the values of PSE, Material, Pawns, Mobility, Attacks,
// Center, Various and the two king safeties, as many as given.
std::string Box(const std::vector<int>& values) {
  static const char* const labels[9] = {"PSE",     "Material", "Pawns",           "Mobility",         "Attacks",
                                        "Center",  "Various",  "White King Safety", "Black King Safety"};
  std::string box = Frame("\xDA", 24, "\xBF\r\n");
  for (size_t i = 0; i < values.size(); ++i) {
    const std::string label = labels[i], value = std::to_string(values[i]);
    box += V + label + std::string(18 - label.size() + 6 - value.size(), ' ') + value + V + "\r\n";
  }
  return box + Frame("\xC0", 24, "\xD9\r\n");
}

std::string Row(char digit, const std::string& cells, const std::string& report) {
  return digit + V + cells + V + digit + " " + report + "\r\n";
}

const std::string StartBoardWithLetters =
    "\r\n" + Letters + "\r\n" + Frame(" \xDA", 16, "\xBF\r\n") +
    Row('8', " r n b q k b n r", "WHITE to move (1.????" ")") + Row('7', " p p p p p p p p", "No one is in check") +
    Row('6', Blank, "W OO & OOO, B OO & OOO") + Row('5', Blank, "No EP. Last Eval: 0") +
    Row('4', Blank, "PreLast: 0 Prepre: 0") + Row('3', Blank, "Static Eval: 0 PSE: 0") +
    Row('2', " P P P P P P P P", "50-mov: 0 Draw: False") + Row('1', " R N B Q K B N R", "") +
    Frame(" \xC0", 16, "\xD9  H=$K P=$K\r\n") + Letters + "    EndGame: 0% Material: 0\r\n" +
    "\r\nMaterial: P:8 N:2 B:2 R:2 Q:1 q:1 p:8 n:2 b:2 r:2 Code:$5AAA88\r\n" + Box({0, 0, 0, 0, 0, 0, 0, 0, 0});

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t from = 0, end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
    lines.push_back(text.substr(from, end - from));
  return lines;
}

// Report lines 1 to 10 of the last tiny board shown: the text from column 22.
std::vector<std::string> Report(const std::string& out) {
  size_t at = out.rfind(Letters + "\r\n \xDA");
  if (at == std::string::npos) return {};
  std::vector<std::string> lines = Lines(out.substr(at)), report;
  for (size_t i = 2; i < 12 && i < lines.size(); ++i) report.push_back(lines[i].substr(21));
  return report;
}

}  // namespace

TEST(BoardDisplay, StartPositionWithLetters) {
  const std::string start = StartBoardWithLetters;
  // A rejected set-up draws the position it leaves.
  EXPECT_EQ(Reply("f 0\nfigurines 0\nboard\ns 4k3/8/8/8/8/8/8/4K3R w - -\n"),
            start + start + start + "4\r\n\r\nIllegal FEN: syntax is not recognized\r\n" + start);
}

TEST(BoardDisplay, MediumBoardHasThirtyLinesWithTheReportInColumn48) {
  const std::string out = Reply("b 2\n");
  ASSERT_EQ(out.substr(0, 2), "\r\n");
  const std::vector<std::string> lines = Lines(out.substr(2, out.find("\r\nMaterial: ") - 2));
  ASSERT_EQ(lines.size(), 30u);
  const std::string letters = V + "    a    b    c    d    e    f    g    h    " + V;
  const std::string blankRow = V + " " + V + std::string(40, ' ') + V + " " + V;
  const std::pair<size_t, std::string> expected[] = {
      {0, Frame("\xDA", 44, "\xBF")},
      {1, letters},
      {2, Frame(V + " \xDA", 40, "\xBF " + V)},
      {4, V + "8" + V + "  \x0F    \x9F    \x06    W    \xC5    \x06    \x9F    \x0F  " + V + "8" + V},
      {5, blankRow + " WHITE to move (1.????" ")"},
      {26, blankRow + " "},
      {28, letters + " H=$K P=$K"},
      {29, Frame("\xC0", 44, "\xD9 EndGame: 0% Material: 0")},
  };
  for (const auto& [index, line] : expected) EXPECT_EQ(lines[index], line) << "line " << index;
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_TRUE(lines[i].size() == 46 || (lines[i].size() >= 47 && lines[i][46] == ' ')) << "line " << i;
}

TEST(BoardDisplay, SettingsAndFigurines) {
  const std::string medium = Reply("b 2\n"), tiny = Reply("b\n");
  EXPECT_NE(tiny.find(Row('8', " \x0F \x9F \x06 W \xC5 \x06 \x9F \x0F", "WHITE to move (1.????" ")")), std::string::npos);
  EXPECT_NE(tiny.find(Row('2', " \xF8 \xF8 \xF8 \xF8 \xF8 \xF8 \xF8 \xF8", "50-mov: 0 Draw: False")), std::string::npos);
  const std::pair<const char*, std::string> cases[] = {
      // Off: nothing from the board command, a move or a set-up.
      {"b 0\nb\nboard\ne4\ns 4k3/8/8/8/8/8/8/4K3 w - -\nsetboard 4k3/8/8/8/8/8/8/4K3 w - -\n", ""},
      {"board 3\nb 12\nboardx\n", "Illegal board parameter: 3\r\nIllegal board parameter: 12\r\n"
                                  "Illegal board parameter: \r\n"},
      {"f 2\nfigurines x\nfigurines\n", "Illegal figurine parameter: 2\r\nIllegal figurine parameter: x\r\n"
                                        "Illegal figurine parameter: \r\n"},
      {"b 0\nboard 3\nb\n", "Illegal board parameter: 3\r\n"},
      {"b 2\nboard 3\nb\n", medium + "Illegal board parameter: 3\r\n" + medium},
      {"board 2\nboard 1\n", medium + tiny},
  };
  for (const auto& [commands, expected] : cases) EXPECT_EQ(Reply(commands), expected) << commands;
  // "info" starts afresh: tiny board, figurines.
  EXPECT_TRUE(EndsWith(Reply("b 2\nf 0\ninfo\nb\n"), StartupText() + tiny));
}

TEST(BoardReport, LinesAndEvaluationBox) {
  struct Case {
    const char* Commands;
    std::vector<std::pair<size_t, const char*>> Lines;  // by report line number
    std::vector<int> Box;                               // not looked at when empty
  };
  const Case cases[] = {
      {"e4\n",
       {{1, "BLACK to move (1...????" ")"}, {4, "EP file 'e'. Last Eval: 0"}, {6, "Static Eval: -73 PSE: 2"}},
       {2, 0, 0, 67, 0, 4, 0, 0, 0}},
      {"s r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3\n",
       {{6, "Static Eval: -3 PSE: 0"}},
       {0, 0, 0, -21, 16, 2, 0, 0, 0}},
      {"s r7/5k2/8/3PP3/8/8/5K2/R7 w - - 0 1\n",
       {{6, "Static Eval: 257 PSE: -22"}, {10, "EndGame: 98% Material: 200"}},
       {-22, 200, 79, 0, 0, 0, 0, 0, 0}},
      {"s r7/5k2/8/3PP3/8/8/5K2/R7 b - - 0 1\n", {{6, "Static Eval: -257 PSE: -22"}}, {-22, 200, 79, 0, 0, 0, 0, 0, 0}},
      {"s 6k1/5ppp/8/8/8/8/5PPP/3Q2K1 w - - 0 1\n",
       {{6, "Static Eval: 961 PSE: -2"}, {10, "EndGame: 96% Material: 900"}},
       {-2, 900, 0, 45, 0, 18, 0, 0, 0}},
      // A recognised ending: material and piece squares only. Bare kings are none.
      {"s 4k3/8/8/8/8/8/8/3QK3 b - -\n",
       {{6, "Static Eval: -9998 PSE: -2"}, {10, "EndGame: 100% Material: 10000"}},
       {-2, 10000}},
      {"s 4k3/8/8/8/8/8/8/4K3 w - -\n", {}, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"Nf3\nNf6\nNg1\nNg8\n", {{1, "WHITE to move (3.????" ")"}, {7, "50-mov: 4 Draw: True"}}, {}},
      {"s 4k3/8/8/8/8/8/8/4R1K1 b - -\n", {{2, "Black is in check"}, {3, "W no castle, B no castle"}}, {}},
      {"s 4k3/8/8/8/8/8/8/r3K3 w - -\n", {{2, "White is in check"}}, {}},
      {"s r3k2r/8/8/8/8/8/8/R3K2R w Kq -\n", {{2, "No one is in check"}, {3, "W OO, B OOO"}}, {}},
  };
  for (const Case& c : cases) {
    const std::string out = Reply(c.Commands);
    const std::vector<std::string> report = Report(out);
    ASSERT_EQ(report.size(), 10u) << c.Commands;
    for (const auto& [number, text] : c.Lines) EXPECT_EQ(report[number - 1], text) << c.Commands;
    // What follows the material line: the evaluation box.
    if (!c.Box.empty()) {
      EXPECT_EQ(out.substr(out.find("\r\n", out.rfind("Code:$")) + 2), Box(c.Box)) << c.Commands;
    }
  }
}
