// Starts the engine once per test binary, keeping its start-up lines out of
// the test's output.
#pragma once
#include <gtest/gtest.h>

#include "frontend/ConsoleIO.h"

inline void InitEngineOnce() {
  static bool done = false;
  if (done) return;
  testing::internal::CaptureStdout();
  InitEngine();
  testing::internal::GetCapturedStdout();
  done = true;
}
