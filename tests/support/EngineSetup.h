// Starts the engine once per test binary, keeping its start-up lines out of
// the test's output; moves and scores worked out on its positions.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "board/BoardTestSupport.h"
#include "eval/UnitEval.h"
#include "frontend/ConsoleIO.h"
#include "frontend/StartUp.h"
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

// The first legal move with this coordinate text.
inline Move FindMove(const std::string& text) {
  MoveList list;
  GenerateMoves(list);
  for (int i = 0; i < list.Count; i++)
    if (MoveText(list.Moves[i]) == text) return list.Moves[i];
  ADD_FAILURE() << "no legal move " << text;
  return 0;
}
