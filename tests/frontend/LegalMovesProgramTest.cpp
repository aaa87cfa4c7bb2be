// The console's scored list of legal moves ("lmoves"), byte for byte, and a
// UCI depth request, which still takes the random pick.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "support/ProgramSession.h"

namespace {

// What the list writes after the given lines with the board off, the input
// closed right after it.
std::string ListAfter(const std::string& lines) { return SessionOutput("b 0\r\n" + lines + "lmoves\r\n"); }

// The algebraic texts and scores of a list, its framing and line format checked.
std::vector<std::pair<std::string, int>> ParseList(const std::string& list) {
  static const std::regex line("(\\d\\d)\\.(\\S{1,7}) \\((-?\\d+)\\) *\r\n");
  std::vector<std::pair<std::string, int>> moves;
  EXPECT_EQ(list.substr(0, 2), "\r\n");
  EXPECT_EQ(list.substr(list.size() - 6), "\r\n\r\n\r\n");
  for (size_t at = 2; at + 6 < list.size(); at += 22) {
    std::smatch m;
    const std::string text = list.substr(at, 22);
    EXPECT_TRUE(std::regex_match(text, m, line)) << text;
    if (m.empty()) break;
    EXPECT_EQ(std::stoi(m[1]), int(moves.size()) + 1);
    moves.emplace_back(m[2], std::stoi(m[3]));
  }
  EXPECT_EQ(list.size(), 2 + 22 * moves.size() + 6) << list;
  return moves;
}

}  // namespace

TEST(LegalMoveList, StartPositionBestFirst) {
  const auto moves = ParseList(ListAfter(""));
  std::vector<std::string> sans;
  for (size_t i = 0; i < moves.size(); i++) {
    sans.push_back(moves[i].first);
    if (i > 0) {
      EXPECT_LE(moves[i].second, moves[i - 1].second);
    }
  }
  std::sort(sans.begin(), sans.end());
  EXPECT_EQ(sans, (std::vector<std::string>{"Na3", "Nc3", "Nf3", "Nh3", "a3", "a4", "b3", "b4", "c3", "c4",
                                            "d3",  "d4",  "e3",  "e4",  "f3", "f4", "g3", "g4", "h3", "h4"}));
}

TEST(LegalMoveList, MateAndStalemateHaveNoMoves) {
  EXPECT_EQ(ListAfter("s k7/1Q6/1K6/8/8/8/8/8 b - - 0 1\r\n"), "\r\nNo moves\r\n");
  EXPECT_EQ(ListAfter("s k7/8/1Q6/8/8/8/8/7K b - - 0 1\r\n"), "\r\nNo moves\r\n");
}

TEST(LegalMoveList, MateDistancesCountFromTheSetUpAndRepetitionsScoreNothing) {
  const std::string setUp = "s 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\r\n";
  EXPECT_EQ(ParseList(ListAfter(setUp)).at(0), (std::pair<std::string, int>{"Ra8#", 29999}));
  EXPECT_EQ(ParseList(ListAfter(setUp + "Kf1\r\nKh8\r\n")).at(0), (std::pair<std::string, int>{"Ra8#", 29997}));
  // Kf1 brings back the position after the first Kf1.
  const auto moves = ParseList(ListAfter(setUp + "Kf1\r\nKh8\r\nKg1\r\nKg8\r\n"));
  EXPECT_NE(std::find(moves.begin(), moves.end(), std::pair<std::string, int>{"Kf1", 0}), moves.end());
}

TEST(LegalMoveList, ALineWaitingDuringTheListIsAnsweredAtOnce) {
  // Before any request to move, the list polls input at every node.
  const std::string out = SessionOutput("lmoves\r\nisready\r\n");
  ASSERT_EQ(out.substr(0, 11), "\r\nreadyok\r\n");
  EXPECT_EQ(ParseList("\r\n" + out.substr(11)).size(), 20u);
}

TEST(UciGoDepth, TakesTheRandomPickWithoutASearch) {
  const std::string out = SessionOutput("uci\r\nposition startpos\r\ngo depth 6\r\n");
  static const std::regex reply(
      "info depth 1 seldepth 1 score cp -?\\d+ time \\d+ nodes 1 nps \\d+ pv (\\w{4}) \r\n"
      "info time \\d+ nodes 1 nps \\d+ hashfull 0\r\nbestmove (\\w{4})\r\n");
  std::smatch m;
  const std::string tail = out.substr(out.find("uciok\r\n") + 7);
  ASSERT_TRUE(std::regex_match(tail, m, reply)) << tail;
  EXPECT_EQ(m[1], m[2]);
}
