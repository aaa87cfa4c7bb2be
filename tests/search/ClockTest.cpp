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

TEST(Clock, AStartLaterInTheDayWasBeforeMidnight) {
  // A start an hour later in the day than now can only have been yesterday:
  // 23 hours ago, not minus one hour.
  StartTimer();
  TimerStart = (TimerStart + 3600000) % 86400000;
  int64_t elapsed = ElapsedMs();
  EXPECT_GE(elapsed, 23 * 3600000);
  EXPECT_LT(elapsed, 23 * 3600000 + 60000);
}
