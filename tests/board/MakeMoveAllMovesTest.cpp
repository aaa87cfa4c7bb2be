// Every legal move of the reference positions made and taken back, and long
// random walks from them, with every derived field checked from scratch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/BoardTestSupport.h"

namespace {

// A fixed linear congruential walk, so a failure repeats.
uint32_t NextRandom(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  return seed >> 8;
}

}  // namespace

TEST(MakeMoveAllMoves, EveryLegalMoveOfTheReferencePositions) {
  EnsureBoardTables();
  std::vector<std::string> fens = ReferenceFens();
  ASSERT_EQ(fens.size(), 86u);
  int made = 0;
  for (const std::string& fen : fens) {
    SCOPED_TRACE(fen);
    SetPositionFromFEN(fen);
    PositionState before = CaptureState();
    MoveList list;
    GenerateMoves(list);
    for (int i = 0; i < list.Count; i++) {
      SCOPED_TRACE(i);
      MakeMove(list.Moves[i]);
      ASSERT_EQ(ScratchDifferences(), "");
      // One more ply, so every reply of the position is taken back too.
      MoveList replies;
      GenerateMoves(replies);
      PositionState after = CaptureState();
      for (int j = 0; j < replies.Count; j++) {
        MakeMove(replies.Moves[j]);
        ASSERT_EQ(ScratchDifferences(), "");
        UnmakeMove();
        ASSERT_EQ(StateDifferences(CaptureState(), after), "");
      }
      UnmakeMove();
      ASSERT_EQ(StateDifferences(CaptureState(), before), "");
      made++;
    }
  }
  EXPECT_GT(made, 86);
}

TEST(MakeMoveAllMoves, RandomWalksStayExactAndComeBack) {
  EnsureBoardTables();
  uint32_t seed = 12345;
  for (const std::string& fen : ReferenceFens()) {
    SCOPED_TRACE(fen);
    SetPositionFromFEN(fen);
    PositionState before = CaptureState();
    int depth = 0;
    for (; depth < 120; depth++) {
      MoveList list;
      GenerateMoves(list);
      if (list.Count == 0) break;
      MakeMove(list.Moves[NextRandom(seed) % static_cast<uint32_t>(list.Count)]);
      ASSERT_EQ(ScratchDifferences(), "") << "after ply " << depth;
      // A null move now and then, where the search would try one.
      if (!InCheck && NextRandom(seed) % 8 == 0) {
        PositionState beforeNull = CaptureState();
        MakeNullMove();
        UnmakeNullMove();
        ASSERT_EQ(StateDifferences(CaptureState(), beforeNull), "");
      }
    }
    for (int i = 0; i < depth; i++) UnmakeMove();
    ASSERT_EQ(StateDifferences(CaptureState(), before), "");
  }
}
