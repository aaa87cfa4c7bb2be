// Cost of the static evaluation: repeated on each position of the reference
// file with warm caches, and at every node of depth-3 walks where the pawn
// cache sees new pawn structures. Compare with BM_MakeUnmakeEveryKind.
#include <benchmark/benchmark.h>

#include "board/BoardTestSupport.h"
#include "eval/UnitEval.h"

namespace {

constexpr int EvaluationsPerSetUp = 1000;

void BM_EvaluateFixed(benchmark::State& state) {
  EnsureBoardTables();
  const std::vector<std::string> fens = ReferenceFens();
  for (auto _ : state) {
    for (const std::string& fen : fens) {
      state.PauseTiming();
      SetPositionFromFEN(fen);
      Evaluate(false);
      state.ResumeTiming();
      for (int i = 0; i < EvaluationsPerSetUp; ++i) benchmark::DoNotOptimize(Evaluate(false));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(fens.size()) * EvaluationsPerSetUp);
}
BENCHMARK(BM_EvaluateFixed);

// Evaluates every node of the walk when evaluate is set; without it the
// walk alone, so the difference is the evaluation's share.
uint64_t Walk(int depth, bool evaluate) {
  if (evaluate) benchmark::DoNotOptimize(Evaluate(false));
  if (depth == 0) return 1;
  MoveList list;
  GenerateMoves(list);
  uint64_t nodes = 1;
  for (int i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    nodes += Walk(depth - 1, evaluate);
    UnmakeMove();
  }
  return nodes;
}

void BM_EvaluateWalk(benchmark::State& state) {
  EnsureBoardTables();
  const std::vector<std::string> fens = ReferenceFens();
  const bool evaluate = state.range(0) != 0;
  uint64_t nodes = 0;
  for (auto _ : state) {
    for (int p = 0; p < 2; ++p) {
      state.PauseTiming();
      SetPositionFromFEN(fens[p]);
      state.ResumeTiming();
      nodes += Walk(3, evaluate);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(nodes));
}
BENCHMARK(BM_EvaluateWalk)->ArgName("evaluate")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
