// Shared by the search tests: the engine started once, a silent standard
// input, a position set up from FEN, and a search started the way a request
// to move starts it.
#pragma once
#include <string>

#include "board/BoardTestSupport.h"
#include "search/Clock.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"
#include "support/EngineSetup.h"
#include "support/PipeInput.h"

// The searches poll standard input: an empty pipe that stays open stands in
// for it, so that no line and no end of input reaches the poll, whatever the
// test's own standard input holds.
class SearchTest : public PipeInput {
 protected:
  void SetUp() override {
    InitEngineOnce();
    PipeInput::SetUp();
  }
};

inline void SetPosition(const std::string& fen) { ASSERT_TRUE(SetPositionFromFEN(fen)); }

constexpr int64_t NoTimeLimit = 86400000;  // as UCI "go depth" sets both limits

// A request to move as its caller makes it, with the progress lines kept out
// of the test's output: reset, limits, timer, ply 0, root list, new table
// generation, then the search.
inline void RunSearch(int32_t maxDepth, int64_t softMs = NoTimeLimit, int64_t hardMs = NoTimeLimit) {
  ResetSearch();
  MaxDepth = maxDepth, SoftTimeMs = softMs, HardTimeMs = hardMs, Ply = 0;
  StartTimer();
  GenerateMoves(RootMoves);
  NextHashDate();
  CaptureStdout([] { IterativeDeepening(); });
}
