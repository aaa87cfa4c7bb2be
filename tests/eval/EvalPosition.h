// Test set-up for the evaluation: fills the position globals straight from a
// FEN placement, so material beyond what a FEN set-up accepts (sixteen pawns
// of one colour) can be put on the board as well.
#pragma once
#include <cstring>
#include <string>

#include "board/Position.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"

namespace evaltest {

// Signature increments written out independently of the engine's tables.
inline uint32_t SignatureIncrement(uint8_t code) {
  static const uint8_t shift[11] = {0, 4, 10, 14, 18, 22, 20, 0, 8, 12, 16};
  return uint32_t{1} << shift[code];
}

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
        MaterialSignature += SignatureIncrement(code);
      }
      if (code <= WhiteQueen || code == WhiteKing)
        WhitePieces |= bit;
      else
        BlackPieces |= bit;
    }
  }
  Occupied = WhitePieces | BlackPieces;
  WhiteToMove = 1;
}

// What a set-up does for the evaluation: new material, fresh blend, empty cache.
inline void SetUpPosition(const std::string& fen) {
  PlacePieces(fen);
  BlendPSETables();
  ClearMaterialCache();
}

struct Material {
  int32_t Score;
  int32_t Weight;
  int32_t Recognised;
};

inline Material MaterialOf(const std::string& fen) {
  PlacePieces(fen);
  Material m{};
  uint8_t w, r;
  EvaluateMaterial(m.Score, w, r);
  m.Weight = w;
  m.Recognised = r;
  return m;
}

}  // namespace evaltest
