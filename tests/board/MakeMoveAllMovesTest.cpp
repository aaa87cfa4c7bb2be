// Every legal move of the reference positions made and taken back, and long
// random walks from them, with every derived field checked from scratch.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "board/MakeMoveCheck.h"

using namespace makemovecheck;

namespace {

std::vector<std::string> ReferenceFens() {
  std::vector<std::string> fens;
  std::ifstream in(std::string(VELKAR_TEST_DATA) + "/positions.epd");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    fens.push_back(line.substr(0, line.find(';')));
  }
  return fens;
}

// A fixed linear congruential walk, so a failure repeats.
uint32_t NextRandom(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  return seed >> 8;
}

}  // namespace

TEST(MakeMoveAllMoves, EveryLegalMoveOfTheReferencePositions) {
  InitTables();
  std::vector<std::string> fens = ReferenceFens();
  ASSERT_EQ(fens.size(), 86u);
  int made = 0;
  for (const std::string& fen : fens) {
    SCOPED_TRACE(fen);
    SetPositionFromFEN(fen);
    State before = Capture();
    MoveList list;
    GenerateMoves(list);
    for (int i = 0; i < list.Count; i++) {
      SCOPED_TRACE(i);
      MakeMove(list.Moves[i]);
      ASSERT_EQ(ScratchDifferences(), "");
      // One more ply, so every reply of the position is taken back too.
      MoveList replies;
      GenerateMoves(replies);
      State after = Capture();
      for (int j = 0; j < replies.Count; j++) {
        MakeMove(replies.Moves[j]);
        ASSERT_EQ(ScratchDifferences(), "");
        UnmakeMove();
        ASSERT_EQ(Differences(Capture(), after), "");
      }
      UnmakeMove();
      ASSERT_EQ(Differences(Capture(), before), "");
      made++;
    }
  }
  EXPECT_GT(made, 86);
}

TEST(MakeMoveAllMoves, RandomWalksStayExactAndComeBack) {
  InitTables();
  uint32_t seed = 12345;
  for (const std::string& fen : ReferenceFens()) {
    SCOPED_TRACE(fen);
    SetPositionFromFEN(fen);
    State before = Capture();
    int depth = 0;
    for (; depth < 120; depth++) {
      MoveList list;
      GenerateMoves(list);
      if (list.Count == 0) break;
      MakeMove(list.Moves[NextRandom(seed) % static_cast<uint32_t>(list.Count)]);
      ASSERT_EQ(ScratchDifferences(), "") << "after ply " << depth;
      // A null move now and then, where the search would try one.
      if (!InCheck && NextRandom(seed) % 8 == 0) {
        State beforeNull = Capture();
        MakeNullMove();
        UnmakeNullMove();
        ASSERT_EQ(Differences(Capture(), beforeNull), "");
      }
    }
    for (int i = 0; i < depth; i++) UnmakeMove();
    ASSERT_EQ(Differences(Capture(), before), "");
  }
}
