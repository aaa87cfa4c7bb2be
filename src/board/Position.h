// The one position the engine holds, its set-up from FEN and its FEN text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "board/UnitBitBoard.h"

// Piece codes.
enum : uint8_t {
  Empty = 0, WhitePawn = 1, WhiteKnight = 2, WhiteBishop = 3, WhiteRook = 4, WhiteQueen = 5,
  BlackQueen = 6, BlackPawn = 7, BlackKnight = 8, BlackBishop = 9, BlackRook = 10,
  WhiteKing = 11, BlackKing = 12
};

extern uint8_t Board[64];
extern BitBoard PieceBB[10];  // the set of piece code c is PieceBB[c - 1]
extern int32_t WhiteKingSquare, BlackKingSquare;
extern BitBoard WhiteKingBB, BlackKingBB;
extern BitBoard WhitePieces, BlackPieces;  // Occupied and its rotations: UnitBitBoard.h
extern uint8_t WhiteToMove;
extern uint32_t CastleRights;
extern int32_t EpFile;
extern uint32_t HalfmoveClock;
extern uint8_t InCheck;
extern uint64_t HashKey;
extern uint32_t PawnKey;
extern int32_t PSEScore;
extern uint32_t MaterialSignature;
extern int32_t Ply;
extern uint8_t GamePly;
// Entries 1..KeyHistoryCount hold the keys since the last set-up; the store
// grows by need (see UnitMoves), so long games never overflow it.
extern std::vector<uint64_t> KeyHistory;
extern int32_t KeyHistoryCount;

inline BitBoard& Pieces(uint8_t code) { return PieceBB[code - 1]; }

extern const char PieceLetters[14];  // " PNBRQqpnbrKk"
extern const char* const SquareNames[64];
extern const uint8_t MaterialShift[11];        // by piece code 1..10
extern const uint32_t MaterialIncrement[11];   // by piece code 1..10
extern const char* const StartFEN;

// True when the position was accepted; a rejected one is reported, and
// leaves the start position set (or, for unrecognised syntax, the position as it was).
bool SetPositionFromFEN(const std::string& fen);
std::string GetFEN();
