// Killer slots, history halving and the ordering scores of a search node.
#include "search/SearchTestSupport.h"

#include <map>

namespace {

std::vector<Move> KillersAt(int32_t ply) { return std::vector<Move>(Killers[ply], Killers[ply] + KillerSlots); }

}  // namespace

TEST(Killers, NewMovesGoInFrontAndKnownMovesMoveThere) {
  const Move a = 1, b = 2, c = 3, d = 4, e = 5, m = 6;
  const struct {
    Move Stored;
    std::vector<Move> After;
  } cases[] = {{m, {m, a, b, c, d}}, {c, {c, a, b, d, e}}, {a, {a, b, c, d, e}}};
  for (const auto& k : cases) {
    ClearHistoryTables();
    for (Move x : {e, d, c, b, a}) StoreKiller(x, 7);
    StoreKiller(k.Stored, 7);
    EXPECT_EQ(KillersAt(7), k.After);
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
  // Qxa4 wins a pawn though the generator leaves it to the exchange, Qxd5
  // loses the queen to exd5.
  SetPosition("4k3/8/4p3/3p4/p7/8/8/3QK3 w - - 0 1");
  MoveList quiets;
  GenerateWhiteQuiets(quiets);
  std::map<Move, int32_t> generatorScore;
  for (int i = 0; i < quiets.Count; i++) generatorScore[quiets.Moves[i]] = quiets.Scores[i];

  ClearHistoryTables();
  const Move killer = FindMove("e1e2"), hashMove = FindMove("e1f2");
  StoreKiller(FindMove("d1d2"), 0);
  StoreKiller(killer, 0);
  MoveList list;
  GenerateSearchMoves(list, 0, hashMove);
  std::map<Move, int32_t> score;
  for (int i = 0; i < list.Count; i++) {
    score[list.Moves[i]] = list.Scores[i];
    if (i > 0) {
      EXPECT_LE(list.Scores[i], list.Scores[i - 1]);
    }
  }
  EXPECT_EQ(score[hashMove], 32000);
  EXPECT_EQ(score[FindMove("d1a4")], 30000 + 1);
  EXPECT_EQ(score[killer], 27000);
  EXPECT_EQ(score[FindMove("d1d2")], 27001);
  EXPECT_EQ(score[FindMove("e1f1")], generatorScore[FindMove("e1f1")] + 16384);
  EXPECT_EQ(score[FindMove("d1d5")], 1 - 9 - 10000);
  EXPECT_EQ(list.Moves[0], hashMove);
}
