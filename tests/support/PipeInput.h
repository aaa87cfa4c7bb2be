// A pipe put in place of standard input for the length of a test, for the
// input layer and the poll while thinking.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "frontend/ConsoleIO.h"

class PipeInput : public testing::Test {
 protected:
  void SetUp() override {
    // Standard input may be closed already (CI runs without one): then the
    // pipe's reading end lands on it by itself.
    SavedStdin = dup(STDIN_FILENO);
    ASSERT_EQ(pipe(Pipe), 0);
    if (Pipe[0] != STDIN_FILENO) {
      dup2(Pipe[0], STDIN_FILENO);
      close(Pipe[0]);
    }
  }
  void TearDown() override {
    if (Pipe[1] >= 0) close(Pipe[1]);
    if (SavedStdin >= 0) {
      dup2(SavedStdin, STDIN_FILENO);
      close(SavedStdin);
    } else {
      close(STDIN_FILENO);
    }
  }
  void Send(const std::string& bytes) {
    ASSERT_EQ(write(Pipe[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  void CloseInput() {
    close(Pipe[1]);
    Pipe[1] = -1;
  }
  // The next line as a command loop gets it; empty when none is waiting.
  std::string NextLine() {
    uint32_t count = InputAvailable();
    std::string line;
    if (count > 0) ReadInput(line, count);
    return line;
  }

  int Pipe[2] = {-1, -1};
  int SavedStdin = -1;
};
