// The millisecond clock: time of day in milliseconds since midnight.
#pragma once
#include <cstdint>

extern uint32_t TimerStart;  // milliseconds since midnight at StartTimer

void StartTimer();
int64_t ElapsedMs();
