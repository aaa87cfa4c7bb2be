// Test set-up for the evaluation.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/Position.h"
#include "board/ZobristKeys.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"

namespace evaltest {

inline void EnsureTables() {
  static const bool built = [] {
    InitBitBoards();
    InitZobristKeys();
    InitPSETables();
    return true;
  }();
  (void)built;
}

// A full set-up from FEN: fresh blend, empty material cache.
inline void SetUpPosition(const std::string& fen) {
  EnsureTables();
  SetPositionFromFEN(fen);
  const std::string placement = fen.substr(0, fen.find(' '));
  if (GetFEN().substr(0, placement.size() + 1) != placement + " ")
    ADD_FAILURE() << "set-up refused " << fen;
}

// Changes the material without a set-up, as moves do, so the material cache
// keeps its entries; it also puts down material no FEN set-up accepts
// (sixteen pawns of one colour). Fills only what the material code reads.
inline void PlacePieces(const std::string& placement) {
  std::memset(Board, 0, sizeof Board);
  std::memset(PieceBB, 0, sizeof PieceBB);
  WhiteKingBB = BlackKingBB = WhitePieces = BlackPieces = Occupied = 0;
  MaterialSignature = 0;
  int rank = 7, file = 0;
  for (char ch : placement) {
    if (ch == ' ') break;
    if (ch == '/') {
      --rank;
      file = 0;
    } else if (ch >= '1' && ch <= '8') {
      file += ch - '0';
    } else {
      const uint8_t code = static_cast<uint8_t>(std::strchr(PieceLetters, ch) - PieceLetters);
      const int s = rank * 8 + file++;
      const BitBoard bit = BitBoard{1} << s;
      Board[s] = code;
      if (code == WhiteKing) {
        WhiteKingSquare = s;
        WhiteKingBB = bit;
      } else if (code == BlackKing) {
        BlackKingSquare = s;
        BlackKingBB = bit;
      } else {
        PieceBB[code - 1] |= bit;
        MaterialSignature += MaterialIncrement[code];
      }
      if (code <= WhiteQueen || code == WhiteKing)
        WhitePieces |= bit;
      else
        BlackPieces |= bit;
    }
  }
  Occupied = WhitePieces | BlackPieces;
}

struct Material {
  int32_t Score;
  int32_t Weight;
  int32_t Recognised;
};

inline Material CurrentMaterial() {
  Material m{};
  uint8_t w, r;
  EvaluateMaterial(m.Score, w, r);
  m.Weight = w;
  m.Recognised = r;
  return m;
}

inline Material MaterialOf(const std::string& fen) {
  SetUpPosition(fen);
  return CurrentMaterial();
}

}  // namespace evaltest
