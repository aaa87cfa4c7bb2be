// The quiescence search at one node: draws, mates, the corner stalemate,
// delta pruning, the ply limit; and the stable sort.
#include "search/SearchTestSupport.h"

namespace {

using QuiesceTest = SearchTest;

int32_t QuiesceFromZero(int32_t alpha, int32_t beta) {
  Nodes = 0;
  PrincipalVariation pv;
  return Quiesce(alpha, beta, pv);
}

}  // namespace

TEST_F(QuiesceTest, NodesDecidedWithoutAMove) {
  const struct {
    const char* Fen;
    std::vector<const char*> Moves;
    uint32_t Clock;  // a set-up starts the clock at 0 whatever the FEN says
    int32_t Ply;
    int32_t Expected;  // NoScore: the static evaluation
  } cases[] = {
      // A position seen before, and the 50-move rule, are draws before anything else.
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {"g1f3", "g8f6", "f3g1", "f6g8"}, 4, 0, 0},
      {"4k3/8/8/8/8/8/3Q4/4K3 w - - 0 1", {}, 100, 0, 0},
      {"k7/1Q6/1K6/8/8/8/8/8 b - - 0 1", {}, 0, 3, MatedScore(3)},
      // Only a bare king in a corner is tested for stalemate.
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", {}, 0, 0, 0},
      {"4k3/4P3/4K3/8/8/8/8/8 b - - 0 1", {}, 0, 0, NoScore},
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1", {}, 0, PlyLimit, NoScore},
  };
  for (const auto& c : cases) {
    SetPosition(c.Fen);
    for (const char* m : c.Moves) MakeMove(FindMove(m));
    HalfmoveClock = c.Clock;
    Ply = c.Ply;
    const int32_t expected = c.Expected == NoScore ? Evaluate(false) : c.Expected;
    EXPECT_TRUE(QuiesceFromZero(-Infinity, Infinity) == expected && Nodes == 1) << c.Fen;
    Ply = 0;
  }
}

TEST_F(QuiesceTest, DeltaPruningSkipsAHopelessCaptureOnlyInANullWindow) {
  SetPosition("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
  const int32_t stand = Evaluate(false);
  EXPECT_EQ(QuiesceFromZero(stand + 200, stand + 201), stand + 50 + PieceValue[BlackPawn]);
  EXPECT_EQ(Nodes, 1);
  QuiesceFromZero(-Infinity, Infinity);
  EXPECT_GT(Nodes, 1);
}

TEST(SortMoveList, HighestFirstAndEqualScoresKeepTheirOrder) {
  MoveList list{4, {1, 2, 3, 4}, {5, 7, 5, 9}};
  SortMoveList(list);
  EXPECT_EQ(std::vector(list.Scores, list.Scores + 4), (std::vector{9, 7, 5, 5}));
  EXPECT_EQ(std::vector(list.Moves, list.Moves + 4), (std::vector<Move>{4, 2, 1, 3}));
}
