// Every reference perft count, at every listed depth, through the raw
// generate / make / unmake walk.
#include <gtest/gtest.h>

#include "board/MoveGenHelpers.h"

using namespace movegen_test;

TEST(MoveGenSlow, EveryReferenceCount) {
  const auto records = ReadPerftFile(VELKAR_TEST_DATA "/positions.epd");
  ASSERT_EQ(records.size(), 86u);
  for (const auto& record : records) {
    SetFEN(record.Fen);
    for (size_t d = 1; d <= record.Counts.size(); ++d)
      EXPECT_EQ(Perft(int(d)), record.Counts[d - 1]) << record.Fen << " depth " << d;
  }
}

TEST(MoveGenSlow, EveryReferenceCountWithCountedLastPly) {
  const auto records = ReadPerftFile(VELKAR_TEST_DATA "/positions.epd");
  ASSERT_EQ(records.size(), 86u);
  for (const auto& record : records) {
    SetFEN(record.Fen);
    const size_t d = record.Counts.size();
    EXPECT_EQ(PerftCounted(int(d)), record.Counts[d - 1]) << record.Fen << " depth " << d;
  }
}
