#include <gtest/gtest.h>

#include "board/MoveInputRoundTrip.h"

TEST(MoveTextRoundTrip, EveryLegalMoveOfEveryReferencePosition) {
  std::vector<std::string> fens = ReferenceFens();
  ASSERT_EQ(fens.size(), 86u);
  RoundTripCounts counts;
  for (const std::string& fen : fens) {
    SetPosition(fen);
    ASSERT_GT(CurrentLegalMoves()->List.Count, 0) << fen;
    RoundTripCurrentPosition(fen, true, counts);
    if (HasFatalFailure()) return;
  }
  RecordProperty("moves", counts.Moves);
  RecordProperty("folded_onto_bishop", counts.FoldedOntoBishop);
}
