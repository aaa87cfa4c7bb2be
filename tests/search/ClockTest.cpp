// The millisecond clock: a stretch that crosses midnight still counts forward.
#include <gtest/gtest.h>

#include "search/Clock.h"

TEST(Clock, ElapsedIsNeverNegativeAndUnderADay) {
  StartTimer();
  EXPECT_LT(TimerStart, 86400000u);
  int64_t first = ElapsedMs();
  EXPECT_GE(first, 0);
  EXPECT_LT(first, 86400000);
  EXPECT_GE(ElapsedMs(), first);
}

TEST(Clock, AStartMuchLaterInTheDayWasBeforeMidnight) {
  // A start 13 hours later in the day than now was yesterday: 11 hours ago.
  StartTimer();
  TimerStart = (TimerStart + 13 * 3600000) % 86400000;
  int64_t elapsed = ElapsedMs();
  EXPECT_GE(elapsed, 11 * 3600000);
  EXPECT_LT(elapsed, 11 * 3600000 + 60000);
}

TEST(Clock, AWallClockSetBackCountsAsNoTime) {
  // A start a minute ahead of now means the clock went back, not that a day
  // passed: nothing has elapsed.
  StartTimer();
  TimerStart = (TimerStart + 60000) % 86400000;
  EXPECT_EQ(ElapsedMs(), 0);
}
