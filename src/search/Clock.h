// The millisecond clock: the time of day at the start of a request, and the
// milliseconds since then.
#pragma once
#include <cstdint>

extern uint32_t TimerStart;     // milliseconds since midnight at StartTimer
extern int64_t SteadyStartMs;  // the steady clock's reading at StartTimer

void StartTimer();
// Measured on a steady clock, not the time of day: a wall clock that is set
// back or forward (time sync, midnight) neither stretches nor cuts a timed
// search. A start ahead of now (only ever staged) reads as no time yet.
int64_t ElapsedMs();
