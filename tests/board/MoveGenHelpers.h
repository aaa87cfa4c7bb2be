// Shared helpers of the move generator and exchange tests: table set-up,
// move text, a raw perft walk and the reference-count file reader.
#pragma once
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "board/Position.h"
#include "board/UnitBitBoard.h"
#include "board/UnitMoves.h"
#include "board/ZobristKeys.h"
#include "eval/UnitPSE.h"

namespace movegen_test {

inline void InitTables() {
  static bool done = false;
  if (done) return;
  InitBitBoards();
  InitZobristKeys();
  InitPSETables();
  done = true;
}

inline void SetFEN(const std::string& fen) {
  InitTables();
  SetPositionFromFEN(fen);
}

inline std::string SquareText(uint32_t s) {
  return std::string(1, char('a' + s % 8)) + char('1' + s / 8);
}

// Coordinate text with the promotion piece as a lower-case fifth letter.
inline std::string MoveText(Move m) {
  std::string t = SquareText(MoveFrom(m)) + SquareText(MoveTo(m));
  const uint32_t kind = MoveKind(m);
  if (kind == KindPromotion || kind == KindCapturePromotion) t += " pnbrqqpnbr"[MovePiece(m)];
  return t;
}

inline std::vector<std::string> MoveTexts(const MoveList& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count; ++i) texts.push_back(MoveText(list.Moves[i]));
  return texts;
}

inline std::vector<std::string> LegalMoveTexts() {
  MoveList list;
  GenerateMoves(list);
  return MoveTexts(list);
}

// Leaf count of the legal move tree; the last ply is counted, not made.
inline uint64_t Perft(int depth) {
  MoveList list;
  GenerateMoves(list);
  if (depth <= 1) return depth == 1 ? uint64_t(list.Count) : 1;
  uint64_t nodes = 0;
  for (int i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    nodes += Perft(depth - 1);
    UnmakeMove();
  }
  return nodes;
}

// The same walk with the last ply counted by CountMoves, without a list.
inline uint64_t PerftCounted(int depth) {
  if (depth <= 1) return depth == 1 ? uint64_t(CountMoves()) : 1;
  MoveList list;
  GenerateMoves(list);
  uint64_t nodes = 0;
  for (int i = 0; i < list.Count; ++i) {
    MakeMove(list.Moves[i]);
    nodes += PerftCounted(depth - 1);
    UnmakeMove();
  }
  return nodes;
}

struct PerftRecord {
  std::string Fen;
  std::vector<uint64_t> Counts;  // Counts[d - 1] is the leaf count at depth d
};

// Lines of the reference file: a FEN, then ";Dn count" for each depth.
inline std::vector<PerftRecord> ReadPerftFile(const std::string& path) {
  std::vector<PerftRecord> records;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::stringstream fields(line);
    PerftRecord r;
    std::getline(fields, r.Fen, ';');
    std::string part;
    while (std::getline(fields, part, ';')) {
      std::stringstream p(part);
      std::string depth;
      uint64_t count = 0;
      p >> depth >> count;
      r.Counts.push_back(count);
    }
    records.push_back(r);
  }
  return records;
}

}  // namespace movegen_test
