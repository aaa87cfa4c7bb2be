// The input layer read through a pipe put in place of standard input, and
// the line writer once nobody can read what it writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "frontend/ConsoleIO.h"
#include "support/PipeInput.h"

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

TEST_F(PipeInput, PromptWaitsForItsLineEndThroughASignal) {
  // A signal with a handler interrupts the wait for the rest of the answer,
  // which must go on.
  struct sigaction caught{}, saved{};
  caught.sa_handler = [](int) {};
  sigaction(SIGUSR1, &caught, &saved);
  const pthread_t prompt = pthread_self();
  Send("ki");
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    pthread_kill(prompt, SIGUSR1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Send("wi.epd\n");
  });
  std::string name;
  EXPECT_TRUE(ReadPromptLine(name));
  user.join();
  sigaction(SIGUSR1, &saved, nullptr);
  EXPECT_EQ(name, "kiwi.epd");
}

TEST(LineWriter, AFailedWriteEndsTheRunAtOnce) {
  // Whether input is still open or not, what the write held is lost.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (bool inputOpen : {true, false}) {
    EXPECT_EXIT(
        {
          int input[2];
          if (pipe(input) != 0) std::_Exit(2);
          dup2(input[0], STDIN_FILENO);
          if (!inputOpen) close(input[1]);
          dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO);
          WriteLine("readyok");
          std::_Exit(3);
        },
        testing::ExitedWithCode(OutputGoneExitCode), "^Output error: No space left on device\n$")
        << inputOpen;
  }
}
