// The principal-variation search: null move and its verification, table
// cut-offs and futility at single nodes; whole searches from the root.
#include "search/SearchTestSupport.h"

namespace {

using SearchPVSTest = SearchTest;

int32_t SearchNode(int32_t alpha, int32_t beta, int32_t depth, int32_t type) {
  ResetSearch();
  ClearHistoryTables();
  PrincipalVariation pv;
  return AlphaBeta(alpha, beta, depth, pv, type, false);
}

constexpr const char* QueenUp = "4k3/8/8/8/8/8/3Q4/4K3 w - - 0 1";
constexpr const char* Kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

}  // namespace

TEST_F(SearchPVSTest, NullMoveCutsAndWhereItIsNotTried) {
  // Each window would let a null move cut: a cut stores no move.
  const struct {
    const char* Fen;
    int32_t Type, Alpha, Beta, Depth;
    bool NullCut;
  } cases[] = {
      {QueenUp, 1, -1, 0, 5, true},
      {QueenUp, 1, -1, 0, 6, false},  // confirmed by the verification search, which finds the move
      {QueenUp, 0, -1, 0, 5, false},  // principal-variation node
      {"4k3/8/8/8/8/8/3Q4/4K2r w - - 0 1", 1, -1, 0, 5, false},        // in check
      {"4k3/8/8/8/8/8/3Q4/4K3 b - - 0 1", 1, -20001, -20000, 5, false},  // bare king
      {QueenUp, 1, -29800, -29745, 5, false},                           // mate score as beta
  };
  for (const auto& c : cases) {
    SetPosition(c.Fen);
    EXPECT_GE(SearchNode(c.Alpha, c.Beta, c.Depth, c.Type), c.Beta);
    Move move;
    int32_t depth, value;
    uint32_t flags;
    ASSERT_TRUE(ProbeHash(HashKey, move, depth, flags, value)) << c.Fen;
    EXPECT_EQ(move == 0, c.NullCut) << c.Fen << " depth " << c.Depth << " type " << c.Type;
    EXPECT_TRUE(depth == c.Depth && flags == 2u && value <= MateThreshold) << c.Fen;
  }
}

TEST_F(SearchPVSTest, AShallowMateBoundCutsADeepNode) {
  SetPosition(QueenUp);
  StoreHash(HashKey, FindMove("d2d7"), 1, 2, ScoreToHash(29990, 0));
  EXPECT_EQ(SearchNode(0, 1, 9, 1), 29990);
  EXPECT_EQ(Nodes, 1);
}

TEST_F(SearchPVSTest, FutilityPrunesEveryQuietMoveUnmade) {
  // A bare king to move: no null move either, so the node makes no move.
  SetPosition("8/8/8/4k3/8/8/8/R3K3 b - - 0 1");
  const int32_t eval = Evaluate(false);
  for (const auto& [depth, margin] : {std::pair{1, 50}, {2, 100}, {3, 150}}) {
    EXPECT_EQ(SearchNode(eval + margin + 1, eval + margin + 2, depth, -1), eval + margin);
    EXPECT_EQ(Nodes, 1) << "depth " << depth;
  }
}

TEST_F(SearchPVSTest, WholeSearches) {
  const struct {
    const char* Fen;
    int32_t MaxDepth;
    int64_t SoftMs;
    int32_t Score;     // NoScore: not checked
    int32_t Depth;     // of the last iteration
    bool FailHigh;     // a later root move beat the first in the last iteration
    const char* Best;  // the whole variation, an exact score; empty: not checked
  } cases[] = {
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 255, NoTimeLimit, 29999, 1, false, "a1a8"},  // mate in one
      {"7k/5K2/p7/6Q1/8/8/8/8 b - - 0 1", 255, NoTimeLimit, -29998, 5, false, ""},       // every move is mated
      {"7k/8/5K2/8/8/8/8/R7 w - - 0 1", 255, NoTimeLimit, 29997, 4, true, ""},           // quiet mate in two
      {StartFEN, 255, 0, NoScore, 1, false, ""},                                          // no time
      {Kiwipete, 4, NoTimeLimit, NoScore, 4, false, ""},
  };
  for (const auto& c : cases) {
    SetPosition(c.Fen);
    const PositionState before = CaptureState();
    RunSearch(c.MaxDepth, c.SoftMs);
    EXPECT_EQ(StateDifferences(before, CaptureState()), "") << c.Fen;
    EXPECT_EQ(BestScore, c.Score == NoScore ? BestScore : c.Score) << c.Fen;
    EXPECT_TRUE(IterationDepth == c.Depth && RootFailHigh == c.FailHigh && RootPV[0] == BestMove) << c.Fen;
    if (*c.Best) {
      EXPECT_TRUE(BestMove == FindMove(c.Best) && RootPV[1] == 0 && BestBound == 3) << c.Fen;
    }
  }
}

TEST_F(SearchPVSTest, NoIterationLeavesTheFirstRootMoveAtTheStaticScore) {
  SetPosition(Kiwipete);
  RunSearch(0);
  EXPECT_TRUE(BestMove == RootMoves.Moves[0] && BestScore == Evaluate(false) && RootPV[1] == 0);
}

TEST_F(SearchPVSTest, TheHardLimitStopsAtTheFirstPollAfterTheFirstIteration) {
  SetPosition(StartFEN);
  RunSearch(255, NoTimeLimit, 0);
  EXPECT_TRUE(StopSearch);
  // The root node counts but never polls.
  EXPECT_TRUE(Nodes == 32768 || Nodes == 32769) << Nodes;
}

TEST_F(SearchPVSTest, ARepeatedSearchSearchesTheSameTree) {
  int64_t nodes[2];
  Move moves[2];
  for (int run = 0; run < 2; run++) {
    SetPosition("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1");
    RunSearch(7);
    nodes[run] = Nodes, moves[run] = BestMove;
  }
  EXPECT_TRUE(nodes[0] == nodes[1] && moves[0] == moves[1]);
}
