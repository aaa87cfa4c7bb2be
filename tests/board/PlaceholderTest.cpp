#include <gtest/gtest.h>

#include "board/UnitMoves.h"

TEST(MoveLayout, FieldsRoundTrip) {
  Move m = MakeMoveValue(12, 28, 1, 0, 0, KindQuiet);
  EXPECT_EQ(MoveFrom(m), 12u);
  EXPECT_EQ(MoveTo(m), 28u);
  EXPECT_EQ(MovePiece(m), 1u);
}
