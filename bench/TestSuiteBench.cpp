// EPD test-suite throughput: positions per second of a 100-line run with the
// board off, through the real program over a pipe. The run's start-up and
// quit are timed apart and taken off.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>

#include "support/ProgramDriver.h"
#include "support/TempDir.h"

namespace {

constexpr int Lines = 100;

double SecondsFor(const std::string& input) {
  auto start = std::chrono::steady_clock::now();
  RunProgram(input);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_TestSuitePositions(benchmark::State& state) {
  std::ifstream in(std::string(VELKAR_TEST_DATA) + "/onlymove.epd");
  std::string fiveLines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string content;
  for (int i = 0; i < Lines / 5; ++i) content += fiveLines;
  TempDir dir;
  const std::string suite = "b 0\nt\n" + dir.Write("hundred.epd", content) + "\n1\nquit\n";
  for (auto _ : state) state.SetIterationTime(SecondsFor(suite) - SecondsFor("b 0\nquit\n"));
  state.counters["positions/s"] = benchmark::Counter(Lines * state.iterations(), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_TestSuitePositions)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
