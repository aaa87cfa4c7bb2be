// Shared by the notation and move-input tests: engine set-up, the legal moves
// of the current position with their texts, and a snapshot of the position to
// tell which move was made, if any.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "board/Position.h"
#include "board/UnitBitBoard.h"
#include "board/UnitMoves.h"
#include "board/ZobristKeys.h"
#include "eval/UnitPSE.h"
#include "frontend/Notation.h"

inline void SetPosition(const std::string& fen) {
  static const bool ready = [] {
    InitBitBoards();
    InitZobristKeys();
    InitPSETables();
    return true;
  }();
  (void)ready;
  SetPositionFromFEN(fen);
}

struct PositionSnapshot {
  std::string Fen;
  uint64_t Key;
  uint32_t Pawns;
  uint32_t Rights;
  int32_t Ep;
  uint8_t Check;
  int32_t Pse;
  uint32_t Material;
  int32_t PlyCount;
  int32_t HistoryCount;

  bool operator==(const PositionSnapshot&) const = default;
};

inline PositionSnapshot TakeSnapshot() {
  return {GetFEN(), HashKey, PawnKey, CastleRights, EpFile, InCheck,
          PSEScore, MaterialSignature, Ply, KeyHistoryCount};
}

inline std::ostream& operator<<(std::ostream& out, const PositionSnapshot& s) {
  return out << s.Fen << " key " << std::hex << s.Key << std::dec << " ply " << s.PlyCount;
}

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
inline PositionSnapshot SnapshotAfter(const std::string& coordinates) {
  auto moves = CurrentLegalMoves();
  for (int32_t i = 0; i < moves->List.Count; i++) {
    if (moves->Coordinates[i] != coordinates) continue;
    MakeMove(moves->List.Moves[i]);
    PositionSnapshot after = TakeSnapshot();
    UnmakeMove();
    return after;
  }
  ADD_FAILURE() << "no legal move " << coordinates;
  return {};
}
