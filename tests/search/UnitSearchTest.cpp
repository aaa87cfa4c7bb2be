// The move choice, the input poll while thinking, and the draw test.
#include <map>
#include <regex>

#include "frontend/Notation.h"
#include "search/SearchTestSupport.h"

namespace {

// A position as a request to move starts from.
void StartRequest(const std::string& fen) {
  SetPosition(fen);
  ResetSearch();
}

using ThinkTest = SearchTest;

}  // namespace

TEST_F(ThinkTest, DrawsEveryStartMoveAboutEquallyAndReportsItAsAOnePlySearch) {
  StartRequest(StartFEN);
  ProtocolMode = UciProtocol;  // the shortest progress line: this is about the draw
  std::map<Move, int> drawn;
  CaptureStdout([&] {
    for (int i = 0; i < 2000; i++) {
      Think();
      ASSERT_TRUE(RootMoves.Count == 1 && RootPV[0] == BestMove && RootPV[1] == 0);
      ASSERT_TRUE(IterationDepth == 1 && SelDepth == 1 && Nodes == 1 && BestBound == 3);
      ASSERT_EQ(BestScore, Evaluate(false));
      drawn[BestMove]++;
    }
  });
  ProtocolMode = ConsoleProtocol;
  EXPECT_EQ(drawn.size(), 20u);
  for (const auto& [move, times] : drawn) EXPECT_TRUE(times >= 50 && times <= 150) << MoveToText(move) << times;
}

TEST_F(ThinkTest, WithoutALegalMoveScoresMateOrStalemateAndShiftsTheLastScore) {
  for (const auto& [fen, score] :
       {std::pair{"k7/8/1Q6/8/8/8/8/7K b - - 0 1", 0}, std::pair{"k7/1Q6/1K6/8/8/8/8/8 b - - 0 1", -30000}}) {
    StartRequest(fen);
    LastScore = 12;
    Think();
    EXPECT_TRUE(BestMove == 0 && RootPV[0] == 0 && BestBound == 3) << fen;
    EXPECT_TRUE(BestScore == score && LastScore == score && PrevLastScore == 12) << fen;
  }
}

TEST_F(ThinkTest, RepetitionAfterOneEarlierOccurrenceOrFiftyMovesIsADraw) {
  StartRequest(StartFEN);
  std::string draws;
  for (const char* move : {"Nf3", "Nf6", "Ng1", "Ng8"}) {
    ASSERT_TRUE(ParseAndMakeMove(move));
    draws += IsRepetitionOrFiftyMoves() ? "1" : "0";
  }
  EXPECT_EQ(draws, "0001");
  HalfmoveClock = 0;  // no key is compared
  EXPECT_FALSE(IsRepetitionOrFiftyMoves());
  StartRequest(StartFEN);
  HalfmoveClock = 100;  // no scan needed
  EXPECT_TRUE(IsRepetitionOrFiftyMoves());
}

class CheckInputTest : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    StartRequest(StartFEN);
    StartTimer();
    SoftTimeMs = HardTimeMs = 3600000;
  }
};

TEST_F(CheckInputTest, AnswersIsreadyStopsOnStopDropsOtherLinesAndQuitsOnQuit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Send("isready\nisready now\ngo\n\nSTOP\n");
  std::string out;
  for (int i = 0; i < 5; i++) out += CaptureStdout(CheckInput);
  EXPECT_EQ(out, "readyok\r\n");
  EXPECT_FALSE(StopSearch);
  Send("stop\n");
  CheckInput();
  EXPECT_TRUE(StopSearch);
  Send("quit\n");
  EXPECT_EXIT(CheckInput(), testing::ExitedWithCode(0), "");
}

TEST_F(CheckInputTest, EndedInputIsNoLineUnlessTheSearchIsInfinite) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CloseInput();
  for (bool infinite : {false, true}) {
    InfiniteSearch = infinite;
    EXPECT_EXIT((CheckInput(), std::_Exit(StopSearch ? 1 : 0)), testing::ExitedWithCode(infinite), "");
  }
}

TEST_F(CheckInputTest, UciInfoTimeLineOnceASecond) {
  // Polls at 0, 1.0, 1.0 and 2.0 seconds: lines at the second and the fourth, under UCI only.
  for (ProtocolMode = ConsoleProtocol; ProtocolMode <= XboardProtocol; ProtocolMode++) {
    StartTimer();
    LastInfoTimeMs = 0.0;
    std::string lines;
    for (int64_t step : {0, 1000, 0, 1000}) {
      SteadyStartMs -= step;
      lines += CaptureStdout(CheckInput) + "|";
    }
    const char* uci = R"(\|info time 1\d{3} [^|]*\r\n\|\|info time 2\d{3} [^|]*\r\n\|)";
    EXPECT_TRUE(std::regex_match(lines, std::regex(ProtocolMode == UciProtocol ? uci : R"(\|\|\|\|)"))) << lines;
  }
  ProtocolMode = ConsoleProtocol;
}

TEST_F(CheckInputTest, TimeLimitsEndTheSearchOnlyAfterTheFirstIteration) {
  const int64_t h = 3600000;
  const struct {
    int64_t hard, soft;
    bool scoreDrop, prevDrop;
    int32_t rootIndex;
    bool firstDone, infinite, timeUp, stop;
  } cases[] = {
      {h, h, false, false, 0, true, false, false, false},  // no limit reached
      {0, h, true, true, 3, true, false, true, true},      // hard limit, whatever the scores
      {h, 0, false, false, 0, true, false, true, true},    // soft limit on the first root move
      {h, 0, true, false, 0, true, false, false, false},   // ... not while the score drops
      {h, 0, false, true, 0, true, false, false, false},   // ... or dropped an iteration ago
      {h, 0, false, false, 1, true, false, false, false},  // ... nor past the first root move
      {0, 0, false, false, 0, false, false, true, false},  // no iteration finished yet
      {0, 0, false, false, 0, true, true, true, false},    // infinite
  };
  for (const auto& c : cases) {
    ResetSearch();
    HardTimeMs = c.hard, SoftTimeMs = c.soft, ScoreDrop = c.scoreDrop, PrevIterScoreDrop = c.prevDrop;
    CurrentRootMoveIndex = c.rootIndex, FirstIterationDone = c.firstDone, InfiniteSearch = c.infinite;
    CheckInput();
    EXPECT_TRUE(TimeUp == c.timeUp && StopSearch == c.stop) << &c - cases;
  }
}
