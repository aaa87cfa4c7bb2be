#include <gtest/gtest.h>

#include <fstream>

#include "board/MoveInputRoundTrip.h"

namespace {

// Sum of the depth-1 counts of the reference file: the positions one move in.
int32_t ReferenceMovesAtDepthOne() {
  std::ifstream file(std::string(VELKAR_TEST_DATA) + "/positions.epd");
  int32_t total = 0;
  std::string line;
  while (std::getline(file, line)) {
    size_t at = line.find(";D1 ");
    if (at != std::string::npos) total += std::stoi(line.substr(at + 4));
  }
  return total;
}

}  // namespace

// One ply deeper: the positions after every legal move of the reference
// positions, which bring in checks, evasion lists and fresh en-passant files.
TEST(MoveTextRoundTrip, EveryLegalMoveOneMoveIntoEveryReferencePosition) {
  RoundTripCounts counts;
  for (const std::string& fen : ReferenceFens()) {
    SetPosition(fen);
    auto moves = CurrentLegalMoves();
    for (int32_t i = 0; i < moves->List.Count; i++) {
      MakeMove(moves->List.Moves[i]);
      RoundTripCurrentPosition(fen + " after " + moves->Coordinates[i], false, counts);
      UnmakeMove();
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_EQ(counts.Positions, ReferenceMovesAtDepthOne());
  RecordProperty("positions", counts.Positions);
  RecordProperty("moves", counts.Moves);
  RecordProperty("folded_onto_bishop", counts.FoldedOntoBishop);
}
