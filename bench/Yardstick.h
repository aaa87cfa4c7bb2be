// The Debian stockfish binary as a yardstick for the speed benchmarks: one
// command on one position, over pipes, timed alone.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

extern const char* const YardstickPath;

// Where the yardstick is missing, a comparison says it was skipped: on the
// benchmark's line, and in one line before all benchmarks.
bool YardstickInstalled();
void LabelYardstickSkipped(benchmark::State& state);
void ReportSkippedComparisons();

struct YardstickResult {
  double Seconds = 0;  // 0 when the yardstick cannot be run
  uint64_t Nodes = 0;
};

// Starts the yardstick, sends "uci", the option lines, the position and
// "isready"; then times the go line until the first line that begins with
// done. Nodes is the last count the engine reported on the way: the
// "Nodes searched:" total of a perft or the nodes field of an info line.
YardstickResult RunYardstick(const std::string& fen, const std::vector<std::string>& options, const std::string& go,
                             const std::string& done);
