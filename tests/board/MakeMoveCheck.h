// Helpers for the make/take-back tests: a copy of every field of the position
// state, a field-by-field comparison, and a check of every derived field
// against its from-scratch value.
#pragma once
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "board/Position.h"
#include "board/UnitBitBoard.h"
#include "board/UnitMoves.h"
#include "board/ZobristKeys.h"
#include "eval/UnitPSE.h"

namespace makemovecheck {

inline void InitTables() {
  static bool done = false;
  if (done) return;
  InitBitBoards();
  InitZobristKeys();
  InitPSETables();
  done = true;
}

struct State {
  uint8_t Board[64];
  BitBoard PieceBB[10];
  int32_t WhiteKingSquare, BlackKingSquare;
  BitBoard WhiteKingBB, BlackKingBB, WhitePieces, BlackPieces, Occupied;
  BitBoard FileRotated, DiagRotatedA, DiagRotatedB;
  uint8_t WhiteToMove;
  uint32_t CastleRights;
  int32_t EpFile;
  uint32_t HalfmoveClock;
  uint8_t InCheck;
  uint64_t HashKey;
  uint32_t PawnKey;
  int32_t PSEScore;
  uint32_t MaterialSignature;
  int32_t Ply;
  uint8_t GamePly;
  int32_t KeyHistoryCount;
  uint64_t KeyHistoryTop;
  int32_t NullMoveCount;
};

inline State Capture() {
  State s;
  std::memcpy(s.Board, ::Board, sizeof s.Board);
  std::memcpy(s.PieceBB, ::PieceBB, sizeof s.PieceBB);
  s.WhiteKingSquare = ::WhiteKingSquare;
  s.BlackKingSquare = ::BlackKingSquare;
  s.WhiteKingBB = ::WhiteKingBB;
  s.BlackKingBB = ::BlackKingBB;
  s.WhitePieces = ::WhitePieces;
  s.BlackPieces = ::BlackPieces;
  s.Occupied = ::Occupied;
  s.FileRotated = ::OccupiedFileRotated;
  s.DiagRotatedA = ::OccupiedDiagRotatedA;
  s.DiagRotatedB = ::OccupiedDiagRotatedB;
  s.WhiteToMove = ::WhiteToMove;
  s.CastleRights = ::CastleRights;
  s.EpFile = ::EpFile;
  s.HalfmoveClock = ::HalfmoveClock;
  s.InCheck = ::InCheck;
  s.HashKey = ::HashKey;
  s.PawnKey = ::PawnKey;
  s.PSEScore = ::PSEScore;
  s.MaterialSignature = ::MaterialSignature;
  s.Ply = ::Ply;
  s.GamePly = ::GamePly;
  s.KeyHistoryCount = ::KeyHistoryCount;
  s.KeyHistoryTop = ::KeyHistory[::KeyHistoryCount];
  s.NullMoveCount = ::NullMoveCount;
  return s;
}

template <typename T> void Note(std::ostringstream& out, const char* name, const T& a, const T& b) {
  if (!(a == b)) out << name << ": " << +a << " vs " << +b << "; ";
}

// Names every field that differs (empty when the states are equal).
inline std::string Differences(const State& a, const State& b) {
  std::ostringstream out;
  for (int s = 0; s < 64; s++)
    if (a.Board[s] != b.Board[s]) out << "Board[" << SquareNames[s] << "]: " << +a.Board[s] << " vs " << +b.Board[s] << "; ";
  for (int c = 0; c < 10; c++)
    if (a.PieceBB[c] != b.PieceBB[c]) out << "PieceBB[" << c + 1 << "]; ";
  Note(out, "WhiteKingSquare", a.WhiteKingSquare, b.WhiteKingSquare);
  Note(out, "BlackKingSquare", a.BlackKingSquare, b.BlackKingSquare);
  Note(out, "WhiteKingBB", a.WhiteKingBB, b.WhiteKingBB);
  Note(out, "BlackKingBB", a.BlackKingBB, b.BlackKingBB);
  Note(out, "WhitePieces", a.WhitePieces, b.WhitePieces);
  Note(out, "BlackPieces", a.BlackPieces, b.BlackPieces);
  Note(out, "Occupied", a.Occupied, b.Occupied);
  Note(out, "OccupiedFileRotated", a.FileRotated, b.FileRotated);
  Note(out, "OccupiedDiagRotatedA", a.DiagRotatedA, b.DiagRotatedA);
  Note(out, "OccupiedDiagRotatedB", a.DiagRotatedB, b.DiagRotatedB);
  Note(out, "WhiteToMove", a.WhiteToMove, b.WhiteToMove);
  Note(out, "CastleRights", a.CastleRights, b.CastleRights);
  Note(out, "EpFile", a.EpFile, b.EpFile);
  Note(out, "HalfmoveClock", a.HalfmoveClock, b.HalfmoveClock);
  Note(out, "InCheck", a.InCheck, b.InCheck);
  Note(out, "HashKey", a.HashKey, b.HashKey);
  Note(out, "PawnKey", a.PawnKey, b.PawnKey);
  Note(out, "PSEScore", a.PSEScore, b.PSEScore);
  Note(out, "MaterialSignature", a.MaterialSignature, b.MaterialSignature);
  Note(out, "Ply", a.Ply, b.Ply);
  Note(out, "GamePly", a.GamePly, b.GamePly);
  Note(out, "KeyHistoryCount", a.KeyHistoryCount, b.KeyHistoryCount);
  Note(out, "KeyHistory[KeyHistoryCount]", a.KeyHistoryTop, b.KeyHistoryTop);
  Note(out, "NullMoveCount", a.NullMoveCount, b.NullMoveCount);
  return out.str();
}

// Signature field positions by piece code, written out here rather than read
// from the engine so that a wrong engine table shows up.
constexpr int SignatureShift[11] = {0, 4, 10, 14, 18, 22, 20, 0, 8, 12, 16};

// Names every derived field that differs from its value computed from Board
// and the side to move (empty when all agree). Only for positions reached by
// ordinary moves: a null move changes the key on purpose.
inline std::string ScratchDifferences() {
  std::ostringstream out;
  BitBoard sets[10] = {};
  BitBoard white = 0, black = 0, fileRotated = 0, diagA = 0, diagB = 0;
  uint32_t signature = 0;
  int whiteKings = 0, blackKings = 0;
  for (int s = 0; s < 64; s++) {
    uint8_t code = ::Board[s];
    if (code == 0) continue;
    BitBoard bit = BitBoard{1} << s;
    fileRotated |= SquareMaskFileRotated[s];
    diagA |= SquareMaskDiagA[s];
    diagB |= SquareMaskDiagB[s];
    if (code <= 5 || code == WhiteKing) white |= bit; else black |= bit;
    if (code <= 10) {
      sets[code - 1] |= bit;
      signature += uint32_t{1} << SignatureShift[code];
    } else if (code == WhiteKing) {
      whiteKings++;
      if (::WhiteKingSquare != s) out << "WhiteKingSquare; ";
      if (::WhiteKingBB != bit) out << "WhiteKingBB; ";
    } else {
      blackKings++;
      if (::BlackKingSquare != s) out << "BlackKingSquare; ";
      if (::BlackKingBB != bit) out << "BlackKingBB; ";
    }
  }
  if (whiteKings != 1 || blackKings != 1) out << "king count; ";
  for (int c = 0; c < 10; c++)
    if (::PieceBB[c] != sets[c]) out << "PieceBB[" << c + 1 << "]; ";
  Note(out, "WhitePieces", ::WhitePieces, white);
  Note(out, "BlackPieces", ::BlackPieces, black);
  Note(out, "Occupied", ::Occupied, white | black);
  Note(out, "OccupiedFileRotated", ::OccupiedFileRotated, fileRotated);
  Note(out, "OccupiedDiagRotatedA", ::OccupiedDiagRotatedA, diagA);
  Note(out, "OccupiedDiagRotatedB", ::OccupiedDiagRotatedB, diagB);
  Note(out, "MaterialSignature", ::MaterialSignature, signature);
  Note(out, "HashKey", ::HashKey, ComputeHashKey());
  Note(out, "PawnKey", ::PawnKey, ComputePawnKey());
  Note(out, "PSEScore", ::PSEScore, ComputePSEScore());
  uint8_t check = ::WhiteToMove ? IsAttackedByBlack(static_cast<uint8_t>(::WhiteKingSquare))
                                : IsAttackedByWhite(static_cast<uint8_t>(::BlackKingSquare));
  Note(out, "InCheck", ::InCheck, check);
  Note(out, "KeyHistory[KeyHistoryCount]", ::KeyHistory[::KeyHistoryCount], ::HashKey);
  if (!(::EpFile == 128 || (::EpFile >= 0 && ::EpFile < 8))) out << "EpFile out of range; ";
  if (::CastleRights > 15) out << "CastleRights out of range; ";
  return out.str();
}

inline int SquareOf(const char* name) { return (name[0] - 'a') + 8 * (name[1] - '1'); }

// A move value as the generators encode it.
inline Move MoveOf(const char* from, const char* to, uint32_t piece, uint32_t captured, uint32_t kind) {
  uint32_t black = (piece >= BlackQueen && piece <= BlackRook) || piece == BlackKing;
  return MakeMoveValue(SquareOf(from), SquareOf(to), piece, captured, black, kind);
}

// Castling as its bare type value: type in bits 20-23, every other bit 0.
inline Move BareCastling(bool black, bool kingSide) {
  uint32_t type = (kingSide ? 4u : 6u) + (black ? 1u : 0u);
  return type << 20;
}

}  // namespace makemovecheck
