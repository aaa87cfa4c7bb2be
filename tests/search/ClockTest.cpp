// The millisecond clock: elapsed time runs on a steady clock, whatever the
// time of day does meanwhile.
#include <gtest/gtest.h>

#include "search/Clock.h"

TEST(Clock, ElapsedStartsAtZeroAndNeverRunsBack) {
  StartTimer();
  EXPECT_LT(TimerStart, 86400000u);
  int64_t first = ElapsedMs();
  EXPECT_GE(first, 0);
  EXPECT_LT(first, 60000);
  EXPECT_GE(ElapsedMs(), first);
}

TEST(Clock, TheTimeOfDayAtTheStartDoesNotMoveTheCount) {
  // A start that reads as 13 hours later (midnight passed) or a minute later
  // (the wall clock set back) in the day changes nothing that has elapsed.
  for (uint32_t shift : {13u * 3600000u, 60000u}) {
    StartTimer();
    TimerStart = (TimerStart + shift) % 86400000u;
    int64_t elapsed = ElapsedMs();
    EXPECT_GE(elapsed, 0);
    EXPECT_LT(elapsed, 60000);
  }
}
