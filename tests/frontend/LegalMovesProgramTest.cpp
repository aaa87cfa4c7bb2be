// The console's scored list of legal moves ("lmoves"), byte for byte, and a
// UCI depth request, which still takes the random pick.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"

namespace {

struct ListLine {
  std::string San;
  int Score;
};

// What the program writes after its start-up and the lines before the list;
// both runs end with the input closed.
std::string ListAfter(const std::string& lines) {
  const ProgramResult before = RunProgram(lines);
  const ProgramResult after = RunProgram(lines + "lmoves\r\n");
  EXPECT_EQ(after.ExitCode, 0);
  EXPECT_EQ(after.Out.compare(0, before.Out.size(), before.Out), 0);
  return after.Out.substr(std::min(before.Out.size(), after.Out.size()));
}

// The numbered lines of a list: each exactly 20 bytes, "NN.san (score)" padded.
std::vector<ListLine> ParseList(const std::string& list) {
  std::vector<ListLine> lines;
  EXPECT_EQ(list.substr(0, 2), "\r\n");
  EXPECT_EQ(list.substr(list.size() - 6), "\r\n\r\n\r\n");
  for (size_t at = 2; at + 6 < list.size(); at += 22) {
    const std::string line = list.substr(at, 20);
    EXPECT_EQ(list.substr(at + 20, 2), "\r\n");
    char number[3] = {};
    char san[8] = {};
    int score = 0;
    EXPECT_EQ(sscanf(line.c_str(), "%2[0-9].%7s (%d)", number, san, &score), 3) << line;
    EXPECT_EQ(std::stoi(number), int(lines.size()) + 1);
    EXPECT_EQ(line.find_last_not_of(' ') + 1, line.find(')') + 1);
    lines.push_back({san, score});
  }
  return lines;
}

int ScoreOf(const std::vector<ListLine>& lines, const std::string& san) {
  for (const ListLine& l : lines)
    if (l.San == san) return l.Score;
  ADD_FAILURE() << san << " not listed";
  return 0;
}

}  // namespace

TEST(LegalMoveList, StartPositionBestFirst) {
  const std::vector<ListLine> lines = ParseList(ListAfter(""));
  ASSERT_EQ(lines.size(), 20u);
  std::vector<std::string> sans;
  for (size_t i = 0; i < lines.size(); i++) {
    sans.push_back(lines[i].San);
    if (i > 0) {
      EXPECT_LE(lines[i].Score, lines[i - 1].Score);
    }
  }
  std::sort(sans.begin(), sans.end());
  EXPECT_EQ(sans, (std::vector<std::string>{"Na3", "Nc3", "Nf3", "Nh3", "a3", "a4", "b3", "b4", "c3", "c4",
                                            "d3", "d4", "e3", "e4", "f3", "f4", "g3", "g4", "h3", "h4"}));
}

TEST(LegalMoveList, MateAndStalemateHaveNoMoves) {
  EXPECT_EQ(ListAfter("s k7/1Q6/1K6/8/8/8/8/8 b - - 0 1\r\n"), "\r\nNo moves\r\n");
  EXPECT_EQ(ListAfter("s k7/8/1Q6/8/8/8/8/7K b - - 0 1\r\n"), "\r\nNo moves\r\n");
}

TEST(LegalMoveList, MateDistancesCountFromTheSetUpAndRepetitionsScoreNothing) {
  const std::string setUp = "s 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\r\n";
  std::vector<ListLine> lines = ParseList(ListAfter(setUp));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].San, "Ra8#");
  EXPECT_EQ(lines[0].Score, 29999);
  lines = ParseList(ListAfter(setUp + "Kf1\r\nKh8\r\n"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].San, "Ra8#");
  EXPECT_EQ(lines[0].Score, 29997);
  // Kf1 would bring back the position after the first Kf1.
  EXPECT_EQ(ScoreOf(ParseList(ListAfter(setUp + "Kf1\r\nKh8\r\nKg1\r\nKg8\r\n")), "Kf1"), 0);
}

TEST(LegalMoveList, ALineWaitingDuringTheListIsAnsweredAtOnce) {
  // Before any request to move, the list polls input at every node.
  const ProgramResult r = RunProgram("lmoves\r\nisready\r\n");
  EXPECT_EQ(r.ExitCode, 0);
  const std::string head = StartupText() + "\r\nreadyok\r\n";
  ASSERT_EQ(r.Out.compare(0, head.size(), head), 0);
  EXPECT_EQ(ParseList("\r\n" + r.Out.substr(head.size())).size(), 20u);
}

TEST(UciGoDepth, TakesTheRandomPickWithoutASearch) {
  const ProgramResult r = RunProgram("uci\r\nposition startpos\r\ngo depth 6\r\n");
  const std::string tail = r.Out.substr(r.Out.find("uciok\r\n") + 7);
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = tail.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(tail.substr(at, end - at));
  ASSERT_EQ(lines.size(), 3u) << tail;
  EXPECT_EQ(lines[0].rfind("info depth 1 seldepth 1 score cp ", 0), 0u);
  EXPECT_NE(lines[0].find(" nodes 1 nps "), std::string::npos);
  EXPECT_EQ(lines[1].rfind("info time ", 0), 0u);
  EXPECT_EQ(lines[1].substr(lines[1].size() - 11), " hashfull 0");
  EXPECT_EQ(lines[2].rfind("bestmove ", 0), 0u);
}
