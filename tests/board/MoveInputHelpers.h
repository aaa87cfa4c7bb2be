// Shared by the notation and move-input tests: the legal moves of the current
// position with their texts, and the position after one of them.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "board/BoardTestSupport.h"
#include "frontend/Notation.h"

// The legal moves of the current position with their algebraic and
// coordinate texts, in list order.
struct LegalMoves {
  MoveList List;
  std::string San[MaxMoves];
  std::vector<std::string> Coordinates;
};

inline std::unique_ptr<LegalMoves> CurrentLegalMoves() {
  auto moves = std::make_unique<LegalMoves>();
  GenerateMoves(moves->List);
  MovesToSAN(moves->San, moves->List);
  for (int32_t i = 0; i < moves->List.Count; i++)
    moves->Coordinates.push_back(MoveToText(moves->List.Moves[i]));
  return moves;
}

// Algebraic text of the legal move with this coordinate text; "" if none.
inline std::string SanOf(const std::string& coordinates) {
  auto moves = CurrentLegalMoves();
  for (int32_t i = 0; i < moves->List.Count; i++)
    if (moves->Coordinates[i] == coordinates) return moves->San[i];
  return "";
}

// The position after the legal move with this coordinate text (the position
// itself is left as it was).
inline PositionState StateAfter(const std::string& coordinates) {
  auto moves = CurrentLegalMoves();
  for (int32_t i = 0; i < moves->List.Count; i++) {
    if (moves->Coordinates[i] != coordinates) continue;
    MakeMove(moves->List.Moves[i]);
    PositionState after = CaptureState();
    UnmakeMove();
    return after;
  }
  ADD_FAILURE() << "no legal move " << coordinates;
  return {};
}
