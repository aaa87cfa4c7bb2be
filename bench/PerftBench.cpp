// Perft speed: leaves per second of the raw generate / make / unmake walk
// (the last ply counted, not made), and, when the Debian stockfish binary is
// installed, its "go perft" on the same positions as a yardstick.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "Yardstick.h"
#include "board/MoveGenHelpers.h"

namespace {

struct PerftCase {
  const char* Fen;
  int Depth;
};

constexpr PerftCase StartCase{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6};
constexpr PerftCase MiddleCase{"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5};

// The ratio needs both rates of one run: our walk is timed here by hand so
// that it can be divided by the yardstick's rate. Listed: every ply, the last
// one included, builds the full scored list with GenerateMoves; counted: the
// last ply is counted by CountMoves.
void PerftRatio(benchmark::State& state, PerftCase c, bool counted) {
  LabelYardstickSkipped(state);
  movegen_test::SetFEN(c.Fen);
  double best = 0;
  uint64_t leaves = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    leaves = counted ? movegen_test::PerftCounted(c.Depth) : movegen_test::Perft(c.Depth);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(s);
    if (s > 0 && double(leaves) / s > best) best = double(leaves) / s;
  }
  state.counters["leaves/s"] = best;
  // The yardstick gets as many runs as our walk, and its best one counts too.
  double theirs = 0;
  for (int64_t i = 0; i < state.iterations(); ++i) {
    const YardstickResult y = RunYardstick(c.Fen, {}, "go perft " + std::to_string(c.Depth), "Nodes searched:");
    if (y.Seconds <= 0 || y.Nodes != leaves) break;
    if (double(y.Nodes) / y.Seconds > theirs) theirs = double(y.Nodes) / y.Seconds;
  }
  if (theirs > 0) {
    state.counters["stockfish_leaves/s"] = theirs;
    state.counters["ratio"] = best / theirs;
  }
}

}  // namespace

BENCHMARK_CAPTURE(PerftRatio, StartPositionDepth6Listed, StartCase, false)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerftRatio, MiddlegameDepth5Listed, MiddleCase, false)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerftRatio, StartPositionDepth6Counted, StartCase, true)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerftRatio, MiddlegameDepth5Counted, MiddleCase, true)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
