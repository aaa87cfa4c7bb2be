// Starts the engine once per test binary, keeping its start-up lines out of
// the test's output.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "board/Position.h"
#include "board/UnitMoves.h"
#include "eval/UnitEval.h"
#include "frontend/ConsoleIO.h"
#include "frontend/UciLoop.h"
#include "search/UnitSearch.h"

inline void InitEngineOnce() {
  static bool done = false;
  if (done) return;
  testing::internal::CaptureStdout();
  InitEngine();
  testing::internal::GetCapturedStdout();
  done = true;
}

// The score a one-move report gives, the static evaluation after the moves
// (coordinate texts, one space apart) from the FEN position, worked out here.
inline std::string StaticScoreAfter(const std::string& fen, std::string moves) {
  InitEngineOnce();
  SetPositionFromFEN(fen);
  while (!moves.empty()) ParseAndMakeMove(NextToken(moves));
  ResetSearch();
  return std::to_string(Evaluate(false));
}
