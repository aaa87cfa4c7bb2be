// Search speed in nodes per second: the quiescence search as the console's
// move list runs it, and whole searches to a fixed depth with a 64 MB table
// cleared before each run; beside them, when the Debian stockfish binary is
// installed, its "go depth" with the classical evaluation on the same
// positions, measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "Yardstick.h"
#include "board/BoardTestSupport.h"
#include "frontend/ConsoleIO.h"
#include "frontend/StartUp.h"
#include "search/Clock.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

namespace {

struct SearchCase {
  const char* Fen;
  int Depth;           // ours
  int YardstickDepth;  // theirs, for a run of similar length
};

constexpr SearchCase StartCase{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 13, 16};
constexpr SearchCase MiddleCase{"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 9, 15};
constexpr SearchCase EndgameCase{"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 14, 22};

constexpr int QuiescencePasses = 200;
constexpr int64_t NoTimeLimit = 86400000;

void StartEngine() {
  static const bool started = [] {
    CaptureStdout([] {
      InitEngine();
      HashSizeMB = 64;
      SetHashSize();
    });
    return true;
  }();
  (void)started;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every legal move scored by the quiescence search with the full window.
void QuiescenceRate(benchmark::State& state, SearchCase c) {
  StartEngine();
  SetPositionFromFEN(c.Fen);
  ResetSearch();
  MoveList list;
  GenerateMoves(list);
  double best = 0;
  for (auto _ : state) {
    PrincipalVariation pv;
    const int64_t before = Nodes;
    const auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < QuiescencePasses; pass++)
      for (int i = 0; i < list.Count; i++) {
        MakeMove(list.Moves[i]);
        benchmark::DoNotOptimize(Quiesce(-Infinity, Infinity, pv));
        UnmakeMove();
      }
    const double s = Seconds(start);
    state.SetIterationTime(s);
    if (s > 0 && double(Nodes - before) / s > best) best = double(Nodes - before) / s;
  }
  state.counters["nodes/s"] = best;
}

// A request to move as UCI "go depth" makes it, the table cleared by the set-up.
int64_t SearchToDepth(const SearchCase& c, double& seconds) {
  SetPositionFromFEN(c.Fen);
  ResetSearch();
  MaxDepth = c.Depth;
  SoftTimeMs = HardTimeMs = NoTimeLimit;
  StartTimer();
  Ply = 0;
  GenerateMoves(RootMoves);
  NextHashDate();
  const auto start = std::chrono::steady_clock::now();
  CaptureStdout([] { IterativeDeepening(); });
  seconds = Seconds(start);
  return Nodes;
}

void SearchRate(benchmark::State& state, SearchCase c) {
  LabelYardstickSkipped(state);
  StartEngine();
  double best = 0;
  int64_t nodes = 0;
  for (auto _ : state) {
    double s;
    nodes = SearchToDepth(c, s);
    state.SetIterationTime(s);
    if (s > 0 && double(nodes) / s > best) best = double(nodes) / s;
  }
  state.counters["nodes"] = double(nodes);
  state.counters["nodes/s"] = best;
  double theirs = 0;
  for (int64_t i = 0; i < state.iterations(); ++i) {
    const YardstickResult y = RunYardstick(
        c.Fen, {"setoption name Threads value 1", "setoption name Hash value 64", "setoption name Use NNUE value false"},
        "go depth " + std::to_string(c.YardstickDepth), "bestmove");
    if (y.Seconds <= 0 || y.Nodes == 0) break;
    if (double(y.Nodes) / y.Seconds > theirs) theirs = double(y.Nodes) / y.Seconds;
    state.counters["stockfish_nodes"] = double(y.Nodes);
  }
  if (theirs > 0) {
    state.counters["stockfish_nodes/s"] = theirs;
    state.counters["ratio"] = best / theirs;
  }
}

}  // namespace

BENCHMARK_CAPTURE(QuiescenceRate, StartPosition, StartCase)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(QuiescenceRate, Middlegame, MiddleCase)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(QuiescenceRate, Endgame, EndgameCase)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchRate, StartPosition, StartCase)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchRate, Middlegame, MiddleCase)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchRate, Endgame, EndgameCase)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
