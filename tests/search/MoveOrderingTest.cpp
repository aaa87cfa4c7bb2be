// Killer slots, history halving and the ordering scores of a search node.
#include "search/SearchTestSupport.h"

#include <map>

TEST(Killers, NewMovesGoInFrontAndKnownMovesMoveThere) {
  const Move a = 1, b = 2, c = 3, d = 4, e = 5, m = 6;
  const std::pair<Move, std::vector<Move>> cases[] = {{m, {m, a, b, c, d}}, {c, {c, a, b, d, e}}, {a, {a, b, c, d, e}}};
  for (const auto& [stored, after] : cases) {
    ClearHistoryTables();
    for (Move x : {e, d, c, b, a}) StoreKiller(x, 7);
    StoreKiller(stored, 7);
    EXPECT_EQ(std::vector<Move>(Killers[7], Killers[7] + KillerSlots), after);
  }
}

TEST_F(SearchTest, HistoryHalvesEveryEntryRoundingUp) {
  SetPosition("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
  const Move kingMove = FindMove("e1d1"), rookMove = FindMove("h1h5");
  ClearHistoryTables();
  History[HistoryIndex(rookMove)] = 1;
  History[HistoryIndex(kingMove)] = 16384;
  RecordBestMove(kingMove, 1, 0);
  EXPECT_EQ(History[HistoryIndex(kingMove)], 8193);
  EXPECT_EQ(History[HistoryIndex(rookMove)], 1);
  EXPECT_EQ(History[HistoryIndex(FindMove("e1e2"))], 0);
}

TEST_F(SearchTest, SearchNodeOrderingScores) {
  // Qxa4 wins a pawn though the generator leaves it to the exchange; Qxd5
  // loses the queen to exd5.
  SetPosition("4k3/8/4p3/3p4/p7/8/8/3QK3 w - - 0 1");
  MoveList quiets;
  GenerateWhiteQuiets(quiets);
  ClearHistoryTables();
  const Move hashMove = FindMove("e1f2");
  StoreKiller(FindMove("d1d2"), 0);
  StoreKiller(FindMove("e1e2"), 0);
  MoveList list;
  GenerateSearchMoves(list, 0, hashMove);
  std::map<Move, int32_t> score;
  for (int i = 0; i < list.Count; i++) score[list.Moves[i]] = list.Scores[i];
  EXPECT_EQ(list.Moves[0], hashMove);
  EXPECT_EQ(score[hashMove], 32000);
  EXPECT_EQ(score[FindMove("d1a4")], 30000 + 1);
  EXPECT_EQ(score[FindMove("e1e2")], 27000);
  EXPECT_EQ(score[FindMove("d1d2")], 27001);
  const Move quiet = FindMove("e1f1");
  const auto at = std::find(quiets.Moves, quiets.Moves + quiets.Count, quiet) - quiets.Moves;
  EXPECT_EQ(score[quiet], quiets.Scores[at] + 16384);
  EXPECT_EQ(score[FindMove("d1d5")], 1 - 9 - 10000);
}
