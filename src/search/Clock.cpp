#include "search/Clock.h"

#include <sys/time.h>
#include <time.h>

uint32_t TimerStart = 0;
int64_t SteadyStartMs = 0;

namespace {

// Time of day in whole milliseconds since midnight. Universal time rather
// than local time: a daylight-saving switch would otherwise jump the clock
// by an hour.
uint32_t MillisecondsSinceMidnight() {
  timeval now;
  gettimeofday(&now, nullptr);
  int64_t ms = (int64_t{now.tv_sec} % 86400) * 1000 + now.tv_usec / 1000;
  return static_cast<uint32_t>(ms);
}

// Whole milliseconds of a clock that only ever runs forward.
int64_t SteadyMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

void StartTimer() {
  TimerStart = MillisecondsSinceMidnight();
  SteadyStartMs = SteadyMs();
}

int64_t ElapsedMs() {
  int64_t elapsed = SteadyMs() - SteadyStartMs;
  return elapsed < 0 ? 0 : elapsed;
}
