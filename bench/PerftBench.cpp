// Perft speed: leaves per second of the raw generate / make / unmake walk
// (the last ply counted, not made), and, when the Debian stockfish binary is
// installed, its "go perft" on the same positions as a yardstick.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "board/MoveGenHelpers.h"

namespace {

constexpr const char* YardstickPath = "/usr/games/stockfish";

struct PerftCase {
  const char* Fen;
  int Depth;
};

constexpr PerftCase StartCase{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6};
constexpr PerftCase MiddleCase{"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5};

// Runs the yardstick engine over pipes and times its perft alone, from the
// "go perft" line to its node total; 0 seconds when it cannot be run.
struct YardstickResult {
  double Seconds = 0;
  uint64_t Nodes = 0;
};

YardstickResult RunYardstick(const PerftCase& c) {
  YardstickResult result;
  if (access(YardstickPath, X_OK) != 0) return result;
  int toChild[2], fromChild[2];
  if (pipe(toChild) != 0 || pipe(fromChild) != 0) return result;
  const pid_t pid = fork();
  if (pid < 0) return result;
  if (pid == 0) {
    dup2(toChild[0], 0);
    dup2(fromChild[1], 1);
    close(toChild[1]);
    close(fromChild[0]);
    execl(YardstickPath, YardstickPath, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  FILE* out = fdopen(toChild[1], "w");
  FILE* in = fdopen(fromChild[0], "r");
  char line[4096];
  auto waitFor = [&](const std::string& prefix) {
    while (fgets(line, sizeof line, in))
      if (std::string(line).rfind(prefix, 0) == 0) return true;
    return false;
  };
  fprintf(out, "uci\nposition fen %s\nisready\n", c.Fen);
  fflush(out);
  if (waitFor("readyok")) {
    const auto start = std::chrono::steady_clock::now();
    fprintf(out, "go perft %d\n", c.Depth);
    fflush(out);
    if (waitFor("Nodes searched:")) {
      result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      result.Nodes = std::stoull(std::string(line).substr(15));
    }
  }
  fprintf(out, "quit\n");
  fclose(out);
  fclose(in);
  waitpid(pid, nullptr, 0);
  return result;
}

// The ratio needs both rates of one run: our walk is timed here by hand so
// that it can be divided by the yardstick's rate. Listed: every ply, the last
// one included, builds the full scored list with GenerateMoves; counted: the
// last ply is counted by CountMoves.
void PerftRatio(benchmark::State& state, PerftCase c, bool counted) {
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
    const YardstickResult y = RunYardstick(c);
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
