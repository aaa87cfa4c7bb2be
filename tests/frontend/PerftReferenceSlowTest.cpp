// Perft counts of the reference positions at every depth they list, through
// the counting recursion of the perft command.
#include <gtest/gtest.h>

#include <string>

#include "board/BoardTestSupport.h"
#include "frontend/ConsoleIO.h"
#include "frontend/UnitPerft.h"
#include "support/EngineSetup.h"

TEST(PerftReference, DataHoldsAllPositionsAndDepths) {
  ASSERT_EQ(ReferencePositions().size(), 86u);
  uint64_t leaves = 0;
  for (const PerftRecord& ref : ReferencePositions()) {
    EXPECT_GE(ref.Counts.size(), 4u) << ref.Fen;
    for (uint64_t count : ref.Counts) leaves += count;
  }
  EXPECT_EQ(leaves, 466168534u);
}

TEST(PerftReference, CountsEqualTheReferenceAtEveryDepth) {
  InitEngineOnce();
  for (const PerftRecord& ref : ReferencePositions()) {
    testing::internal::CaptureStdout();
    SetPositionFromFEN(ref.Fen);
    ASSERT_EQ(testing::internal::GetCapturedStdout(), "") << ref.Fen;
    // The set-up normalises the move counters; the rest must come back.
    const std::string before = GetFEN();
    for (size_t depth = 1; depth <= ref.Counts.size(); depth++) {
      PerftNodes = 0;
      PerftCount(int32_t(depth));
      EXPECT_EQ(uint64_t(PerftNodes), ref.Counts[depth - 1]) << ref.Fen << " depth " << depth;
    }
    EXPECT_EQ(GetFEN(), before) << ref.Fen;
  }
}
