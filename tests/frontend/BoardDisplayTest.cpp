// Score texts of the position report.
#include <gtest/gtest.h>

#include "frontend/BoardDisplay.h"

TEST(ScoreText, MateScoresShowTheMovesToMate) {
  const std::pair<int32_t, const char*> cases[] = {
      {29999, "#1"}, {-29998, "#-1"}, {29745, "#128"}, {29744, "29744"}, {-29744, "-29744"}, {0, "0"}, {-73, "-73"},
  };
  for (const auto& [score, text] : cases) EXPECT_EQ(ScoreText(score), text) << score;
}
