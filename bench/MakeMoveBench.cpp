// Cost of making and taking back moves: a short game of every move kind,
// made ply by ply and taken back, on top of a short and of a long game.
#include <benchmark/benchmark.h>

#include "board/Position.h"
#include "board/UnitBitBoard.h"
#include "board/UnitMoves.h"
#include "board/ZobristKeys.h"
#include "eval/UnitPSE.h"

namespace {

uint32_t Sq(const char* n) { return static_cast<uint32_t>((n[0] - 'a') + 8 * (n[1] - '1')); }

Move M(const char* f, const char* t, uint32_t piece, uint32_t captured, uint32_t black, uint32_t kind) {
  return MakeMoveValue(Sq(f), Sq(t), piece, captured, black, kind);
}

const Move Game[] = {
    M("e5", "d6", WhitePawn, BlackPawn, 0, KindEnPassant),
    M("g7", "g5", BlackPawn, 0, 1, KindQuiet),
    M("b7", "a8", WhiteQueen, BlackRook, 0, KindCapturePromotion),
    M("e8", "f7", BlackKing, 0, 1, KindQuiet),
    M("d6", "d7", WhitePawn, 0, 0, KindQuiet),
    M("g2", "h1", BlackKnight, WhiteRook, 1, KindCapturePromotion),
    M("d7", "d8", WhiteRook, 0, 0, KindPromotion),
    M("h1", "g3", BlackKnight, 0, 1, KindQuiet),
    KindCastleLong << 21,
    M("g5", "g4", BlackPawn, 0, 1, KindQuiet),
    M("d8", "h8", WhiteRook, BlackRook, 0, KindCapture),
    M("f7", "g6", BlackKing, 0, 1, KindQuiet),
};

void SetUpGame(int gamePlies) {
  InitBitBoards();
  InitZobristKeys();
  InitPSETables();
  SetPositionFromFEN("r3k2r/1P4p1/8/3pP3/8/8/6p1/R3K2R w KQkq d");
  // Game moves below the measured ones leave Ply and KeyHistoryCount high.
  Ply += gamePlies;
  KeyHistoryCount += gamePlies;
  EnsureKeyHistoryRoom(KeyHistoryCount + 64);
  KeyHistory[KeyHistoryCount] = HashKey;
}

void BM_MakeUnmakeEveryKind(benchmark::State& state) {
  SetUpGame(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (Move m : Game) MakeMove(m);
    for (size_t i = 0; i < std::size(Game); i++) UnmakeMove();
    benchmark::DoNotOptimize(HashKey);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::size(Game)));
}
BENCHMARK(BM_MakeUnmakeEveryKind)->Arg(0)->Arg(5000);

void BM_NullMovePair(benchmark::State& state) {
  SetUpGame(0);
  for (auto _ : state) {
    MakeNullMove();
    UnmakeNullMove();
    benchmark::DoNotOptimize(HashKey);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NullMovePair);

}  // namespace
