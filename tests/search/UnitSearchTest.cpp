// The move choice, the input poll while thinking, and the draw test.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>

#include "board/BoardTestSupport.h"
#include "board/Position.h"
#include "eval/UnitEval.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Notation.h"
#include "frontend/ProgressLines.h"
#include "search/Clock.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"
#include "support/EngineSetup.h"
#include "support/PipeInput.h"

namespace {

void StartRequest(const std::string& fen) {
  InitEngineOnce();
  ProtocolMode = 0;
  SetPositionFromFEN(fen);
  ResetSearch();
}

}  // namespace

TEST(Think, DrawsEveryStartMoveAboutEquallyAndReportsItAsAOnePlySearch) {
  StartRequest(StartFEN);
  ProtocolMode = 1;  // the shortest progress line: this is about the draw
  std::map<std::string, int> drawn;
  std::string out = CaptureStdout([&] {
    for (int i = 0; i < 2000; i++) {
      ResetSearch();
      Think();
      ASSERT_EQ(RootMoves.Count, 1);
      ASSERT_EQ(RootPV[0], BestMove);
      ASSERT_EQ(RootPV[1], 0u);
      ASSERT_EQ(BestScore, Evaluate(false));
      ASSERT_TRUE(IterationDepth == 1 && SelDepth == 1 && Nodes == 1 && BestBound == 3);
      drawn[MoveToText(BestMove)]++;
    }
  });
  EXPECT_EQ(out.rfind("info depth 1 seldepth 1 score cp ", 0), 0u);
  EXPECT_EQ(drawn.size(), 20u);
  for (const auto& [move, times] : drawn) {
    EXPECT_GE(times, 50) << move;
    EXPECT_LE(times, 150) << move;
  }
}

TEST(Think, WithoutALegalMoveReportsNoMoveAndPrintsNothing) {
  const std::pair<const char*, int32_t> cases[] = {
      {"k7/8/1Q6/8/8/8/8/7K b - - 0 1", 0},          // stalemate
      {"k7/1Q6/1K6/8/8/8/8/8 b - - 0 1", -30000}};  // mate
  for (const auto& [fen, score] : cases) {
    StartRequest(fen);
    LastScore = 12;
    BestMoveText = "e4";
    uint32_t date = HashDate;
    EXPECT_EQ(CaptureStdout(Think), "") << fen;
    EXPECT_EQ(BestMove, 0u);
    EXPECT_EQ(BestScore, score);
    EXPECT_EQ(BestBound, 3);
    EXPECT_EQ(RootPV[0], 0u);
    EXPECT_EQ(BestMoveText, "");
    EXPECT_EQ(HashDate, (date + 1) % 16);
    EXPECT_EQ(PrevLastScore, 12);
    EXPECT_EQ(LastScore, score);
    EXPECT_EQ(GetFEN(), fen);
  }
}

TEST(Think, AnOnlyMoveIsAlwaysChosen) {
  StartRequest("7k/5K2/8/8/8/8/8/6R1 b - - 0 1");
  for (int i = 0; i < 20; i++) {
    std::string line = CaptureStdout(Think);
    EXPECT_EQ(MoveToText(BestMove), "h8h7");
    EXPECT_EQ(line.substr(15), "        0.00      1  1...Kh7\r\n");
    EXPECT_EQ(BestMoveText, "Kh7");
  }
}

TEST(Repetition, OneEarlierOccurrenceOrFiftyMovesIsADraw) {
  StartRequest(StartFEN);
  EXPECT_FALSE(IsRepetitionOrFiftyMoves());
  for (const char* move : {"Nf3", "Nf6", "Ng1"}) {
    ASSERT_TRUE(ParseAndMakeMove(move));
    EXPECT_FALSE(IsRepetitionOrFiftyMoves()) << move;
  }
  ASSERT_TRUE(ParseAndMakeMove("Ng8"));
  EXPECT_TRUE(IsRepetitionOrFiftyMoves());
  HalfmoveClock = 0;  // no key is compared
  EXPECT_FALSE(IsRepetitionOrFiftyMoves());
  StartRequest(StartFEN);
  HalfmoveClock = 100;  // true without a scan
  EXPECT_TRUE(IsRepetitionOrFiftyMoves());
}

class CheckInputTest : public PipeInput {
 protected:
  void SetUp() override {
    PipeInput::SetUp();
    StartRequest(StartFEN);
    StartTimer();
    SoftTimeMs = HardTimeMs = OneHour;
  }
  static constexpr int64_t OneHour = 3600000;
};

TEST_F(CheckInputTest, AnswersIsreadyStopsOnStopAndDropsOtherLines) {
  Send("isready\nisready now\ngo\n\nSTOP\n");
  for (int i = 0; i < 5; i++) {
    std::string out = CaptureStdout(CheckInput);
    EXPECT_EQ(out, i == 0 ? "readyok\r\n" : "") << i;
  }
  EXPECT_FALSE(StopSearch);
  Send("stop\n");
  CheckInput();
  EXPECT_TRUE(StopSearch);
}

TEST_F(CheckInputTest, QuitEndsTheRun) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Send("quit\n");
  EXPECT_EXIT(CheckInput(), testing::ExitedWithCode(0), "");
}

TEST_F(CheckInputTest, EndedInputIsNoLineUnlessTheSearchIsInfinite) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CloseInput();
  for (bool infinite : {false, true}) {
    EXPECT_EXIT(
        {
          InfiniteSearch = infinite;
          CheckInput();
          std::_Exit(StopSearch ? 1 : 0);
        },
        testing::ExitedWithCode(infinite ? 1 : 0), "");
  }
}

TEST_F(CheckInputTest, UciInfoTimeLineOnceASecond) {
  // Polls at 0, 1.0, 1.0 and 2.0 seconds: lines at the second and the fourth.
  for (ProtocolMode = 0; ProtocolMode < 3; ProtocolMode++) {
    StartTimer();
    LastInfoTimeMs = 0.0;
    std::string lines;
    for (int64_t step : {0, 1000, 0, 1000}) {
      SteadyStartMs -= step;
      lines += CaptureStdout(CheckInput) + "|";
    }
    if (ProtocolMode == 1)
      EXPECT_TRUE(std::regex_match(lines, std::regex(R"(\|info time 1\d{3} [^|]*\r\n\|\|info time 2\d{3} [^|]*\r\n\|)")))
          << lines;
    else
      EXPECT_EQ(lines, "||||");  // the other protocols have no such line
  }
  ProtocolMode = 0;
}

TEST_F(CheckInputTest, TimeLimitsEndTheSearchOnlyAfterTheFirstIteration) {
  struct Case {
    int64_t hard, soft;
    bool scoreDrop, prevDrop;
    int32_t rootIndex;
    bool firstDone, infinite;
    bool timeUp, stop;
  };
  const int64_t h = OneHour;
  const Case cases[] = {
      {h, h, false, false, 0, true, false, false, false},  // no limit reached
      {0, h, false, false, 0, true, false, true, true},    // hard limit
      {0, h, true, true, 3, true, false, true, true},      // hard limit, whatever the scores
      {h, 0, false, false, 0, true, false, true, true},    // soft limit on the first root move
      {h, 0, true, false, 0, true, false, false, false},   // ... not while the score drops
      {h, 0, false, true, 0, true, false, false, false},   // ... or dropped an iteration ago
      {h, 0, false, false, 1, true, false, false, false},  // ... nor past the first root move
      {0, 0, false, false, 0, false, false, true, false},  // no iteration finished yet
      {0, 0, false, false, 0, true, true, true, false},    // infinite
  };
  for (const Case& c : cases) {
    ResetSearch();
    HardTimeMs = c.hard;
    SoftTimeMs = c.soft;
    ScoreDrop = c.scoreDrop;
    PrevIterScoreDrop = c.prevDrop;
    CurrentRootMoveIndex = c.rootIndex;
    FirstIterationDone = c.firstDone;
    InfiniteSearch = c.infinite;
    CheckInput();
    EXPECT_EQ(TimeUp, c.timeUp) << &c - cases;
    EXPECT_EQ(StopSearch, c.stop) << &c - cases;
  }
}
