// Cost of the board queries that run for every move made or generated, and of
// a whole set-up from FEN.
#include <benchmark/benchmark.h>

#include "board/BoardTestSupport.h"

namespace {

const char* const Middlegame = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -";

void SetMiddlegame() {
  EnsureBoardTables();
  CaptureStdout([] { SetPositionFromFEN(Middlegame); });
}

void BM_IsAttackedByBlack(benchmark::State& state) {
  SetMiddlegame();
  uint8_t s = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(IsAttackedByBlack(s));
    s = (s + 1) & 63;
  }
}
BENCHMARK(BM_IsAttackedByBlack);

void BM_AttacksTo(benchmark::State& state) {
  SetMiddlegame();
  uint8_t s = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(AttacksTo(s));
    s = (s + 1) & 63;
  }
}
BENCHMARK(BM_AttacksTo);

void BM_IsPinnedToWhiteKing(benchmark::State& state) {
  SetMiddlegame();
  uint8_t s = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(IsPinnedToWhiteKing(s));
    s = (s + 1) & 63;
  }
}
BENCHMARK(BM_IsPinnedToWhiteKing);

void BM_SetPositionFromFEN(benchmark::State& state) {
  SetMiddlegame();
  for (auto _ : state) SetPositionFromFEN(Middlegame);
}
BENCHMARK(BM_SetPositionFromFEN);

}  // namespace
