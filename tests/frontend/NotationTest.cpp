// Coordinate text of single moves.
#include <gtest/gtest.h>

#include "board/Position.h"
#include "frontend/Notation.h"

namespace {

constexpr uint32_t White = 0, Black = 1;

Move Promotion(uint32_t from, uint32_t to, uint32_t piece, uint32_t black) {
  return MakeMoveValue(from, to, piece, 0, black, KindPromotion);
}

}  // namespace

TEST(MoveToText, PlainMovesAreFromAndToSquare) {
  EXPECT_EQ(MoveToText(MakeMoveValue(6, 21, WhiteKnight, 0, White, KindQuiet)), "g1f3");
  EXPECT_EQ(MoveToText(MakeMoveValue(0, 63, WhiteBishop, BlackRook, White, KindCapture)), "a1h8");
  EXPECT_EQ(MoveToText(MakeMoveValue(36, 43, WhitePawn, BlackPawn, White, KindEnPassant)), "e5d6");
  EXPECT_EQ(MoveToText(MakeMoveValue(52, 36, BlackPawn, 0, Black, KindQuiet)), "e7e5");
}

TEST(MoveToText, NoMoveAndUnusedKinds) {
  EXPECT_EQ(MoveToText(0), "NULL");
  EXPECT_EQ(MoveToText(MakeMoveValue(12, 28, WhitePawn, 0, White, 7)), "0000");
  EXPECT_EQ(MoveToText(MakeMoveValue(12, 28, BlackPawn, 0, Black, 7)), "0000");
}

TEST(MoveToText, CastlingIsTheKingsMoveWhateverSquaresTheValueHolds) {
  EXPECT_EQ(MoveToText(MakeMoveValue(4, 6, WhiteKing, 0, White, KindCastleShort)), "e1g1");
  EXPECT_EQ(MoveToText(MakeMoveValue(0, 0, 0, 0, Black, KindCastleShort)), "e8g8");
  EXPECT_EQ(MoveToText(MakeMoveValue(0, 0, 0, 0, White, KindCastleLong)), "e1c1");
  EXPECT_EQ(MoveToText(MakeMoveValue(60, 58, BlackKing, 0, Black, KindCastleLong)), "e8c8");
}

TEST(MoveToText, PromotionLetterIsLowerCaseForBothColors) {
  EXPECT_EQ(MoveToText(Promotion(52, 60, WhiteQueen, White)), "e7e8q");
  EXPECT_EQ(MoveToText(Promotion(52, 60, WhiteRook, White)), "e7e8r");
  EXPECT_EQ(MoveToText(Promotion(52, 60, WhiteBishop, White)), "e7e8b");
  EXPECT_EQ(MoveToText(Promotion(52, 60, WhiteKnight, White)), "e7e8n");
  EXPECT_EQ(MoveToText(Promotion(12, 4, BlackQueen, Black)), "e2e1q");
  EXPECT_EQ(MoveToText(Promotion(12, 4, BlackRook, Black)), "e2e1r");
  EXPECT_EQ(MoveToText(Promotion(12, 4, BlackBishop, Black)), "e2e1b");
  EXPECT_EQ(MoveToText(Promotion(12, 4, BlackKnight, Black)), "e2e1n");
  EXPECT_EQ(MoveToText(MakeMoveValue(52, 59, WhiteQueen, BlackRook, White, KindCapturePromotion)),
            "e7d8q");
}

TEST(MoveToText, PromotionToNoPromotablePieceGetsAQuestionMark) {
  EXPECT_EQ(MoveToText(Promotion(52, 60, Empty, White)), "e7e8?");
  EXPECT_EQ(MoveToText(Promotion(12, 4, BlackPawn, Black)), "e2e1?");
  EXPECT_EQ(MoveToText(Promotion(52, 60, WhiteKing, White)), "e7e8?");
  EXPECT_EQ(MoveToText(Promotion(52, 60, 13, White)), "e7e8?");
}
