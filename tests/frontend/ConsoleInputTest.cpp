// The input layer read through a pipe put in place of standard input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "frontend/ConsoleIO.h"

namespace {

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

}  // namespace

TEST_F(PipeInput, CrLfGivesTheLineAndThenAnEmptyLine) {
  Send("isready\r\n");
  EXPECT_EQ(InputAvailable(), 8);
  EXPECT_EQ(NextLine(), "isready");
  EXPECT_EQ(InputAvailable(), 1);
  EXPECT_EQ(NextLine(), "");
  EXPECT_EQ(InputAvailable(), 0);
}

TEST_F(PipeInput, LinesWaitingTogetherAreTakenOneByOne) {
  Send("one\ntwo\rthree\n");
  EXPECT_EQ(NextLine(), "one");
  EXPECT_EQ(NextLine(), "two");
  EXPECT_EQ(NextLine(), "three");
  EXPECT_EQ(InputAvailable(), 0);
}

TEST_F(PipeInput, PromptAnswerIsNotTrimmed) {
  Send("  3 \n\n");
  std::string answer;
  ASSERT_TRUE(ReadPromptLine(answer));
  EXPECT_EQ(answer, "  3 ");
  ASSERT_TRUE(ReadPromptLine(answer));
  EXPECT_EQ(answer, "");
}

TEST_F(PipeInput, LongPromptAnswerComesWhole) {
  Send(std::string(6000, 'f') + "\nnext\n");
  std::string answer;
  ASSERT_TRUE(ReadPromptLine(answer));
  EXPECT_EQ(answer, std::string(6000, 'f'));
  EXPECT_EQ(NextLine(), "next");
}

TEST_F(PipeInput, PromptAtEndOfInputReportsIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Send("y");
  CloseInput();
  EXPECT_EXIT(
      {
        std::string answer;
        if (!ReadPromptLine(answer) || answer != "y") std::_Exit(3);
        std::_Exit(ReadPromptLine(answer) ? 4 : 0);
      },
      testing::ExitedWithCode(0), "");
}
