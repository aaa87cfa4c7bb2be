// A run of the program as most program tests make it: it must end normally,
// with nothing on standard error, after the start-up text.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"

// The output after the start-up text.
inline std::string SessionOutput(const std::vector<std::string>& chunks) {
  const ProgramResult r = RunProgram(chunks);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Err, "");
  const std::string startup = StartupText();
  EXPECT_EQ(r.Out.substr(0, startup.size()), startup);
  return r.Out.substr(std::min(startup.size(), r.Out.size()));
}
inline std::string SessionOutput(const std::string& input) { return SessionOutput(std::vector<std::string>{input}); }
