#include "search/Clock.h"

#include <sys/time.h>

uint32_t TimerStart = 0;

namespace {

constexpr int64_t MsPerDay = 86400000;

// Time of day in whole milliseconds since midnight. Universal time rather
// than local time: a daylight-saving switch would otherwise jump the clock
// by an hour in the middle of a count.
uint32_t MillisecondsSinceMidnight() {
  timeval now;
  gettimeofday(&now, nullptr);
  int64_t ms = (int64_t{now.tv_sec} % 86400) * 1000 + now.tv_usec / 1000;
  return static_cast<uint32_t>(ms);
}

}  // namespace

void StartTimer() { TimerStart = MillisecondsSinceMidnight(); }

// The time of day starts again at midnight, so a stretch that crosses it
// comes out far negative; adding a day keeps durations and time limits right.
// A small step back is the wall clock being set back, not a day gone by.
int64_t ElapsedMs() {
  int64_t elapsed = int64_t{MillisecondsSinceMidnight()} - int64_t{TimerStart};
  if (elapsed < -MsPerDay / 2) return elapsed + MsPerDay;
  return elapsed < 0 ? 0 : elapsed;
}
