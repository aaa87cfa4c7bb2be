// Moves: their encoding, the legal-move generators, making and taking back
// moves, static exchange evaluation and move input.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "board/UnitBitBoard.h"

// Move layout: bits 0-5 from, 6-11 to, 12-15 piece (the new piece for a
// promotion), 16-19 captured piece, bit 20 Black, bits 21-23 kind.
using Move = uint32_t;

enum : uint32_t {
  KindQuiet = 0, KindCapture = 1, KindCastleShort = 2, KindCastleLong = 3,
  KindEnPassant = 4, KindPromotion = 5, KindCapturePromotion = 6
};

constexpr uint32_t MoveFrom(Move m) { return m & 63; }
constexpr uint32_t MoveTo(Move m) { return (m >> 6) & 63; }
constexpr uint32_t MovePiece(Move m) { return (m >> 12) & 15; }
constexpr uint32_t MoveCaptured(Move m) { return (m >> 16) & 15; }
constexpr bool MoveIsBlack(Move m) { return (m >> 20) & 1; }
constexpr uint32_t MoveKind(Move m) { return (m >> 21) & 7; }
constexpr uint32_t MoveType(Move m) { return (m >> 20) & 15; }  // 2 * kind + black
constexpr Move MakeMoveValue(uint32_t from, uint32_t to, uint32_t piece, uint32_t captured,
                             uint32_t black, uint32_t kind) {
  return from | (to << 6) | (piece << 12) | (captured << 16) | (black << 20) | (kind << 21);
}

// Every move targets a square that at most 16 pieces can reach in one move
// (the nearest piece on each of the 8 lines through it and the 8 knight
// squares), and only the at most 8 x 3 pawn moves onto a back rank multiply,
// by 4 promotion pieces: 64 * 16 + 24 * 3 = 1096 moves bound any position the
// set-up accepts, however many promoted pieces it holds.
constexpr int MaxMoves = 1096;

struct MoveList {
  int32_t Count;
  Move Moves[MaxMoves];
  int32_t Scores[MaxMoves];
};

// Legal move generation.
void GenerateMoves(MoveList& list);
void GenerateWhiteCaptures(MoveList& list);
void GenerateBlackCaptures(MoveList& list);
void GenerateWhiteQuiets(MoveList& list);
void GenerateBlackQuiets(MoveList& list);
void GenerateWhiteEvasions(MoveList& list);
void GenerateBlackEvasions(MoveList& list);
// The number of moves GenerateMoves would list, with the same effect on the
// position (a castling right given up), for counting leaves without a list.
int32_t CountMoves();

// Legality tests the generators share: a possibly pinned piece moving from
// from to to, and an en-passant capture, leave no enemy slider on the king.
bool WhiteCaptureKeepsKingSafe(uint8_t from, uint8_t to);
bool BlackCaptureKeepsKingSafe(uint8_t from, uint8_t to);
bool WhiteQuietKeepsKingSafe(uint8_t from, uint8_t to);
bool BlackQuietKeepsKingSafe(uint8_t from, uint8_t to);
bool WhiteEnPassantIsLegal(uint8_t from, uint8_t to);
bool BlackEnPassantIsLegal(uint8_t from, uint8_t to);

// Ordering score of a capture by [attacker code][victim code 1..10].
extern const int32_t CaptureScore[13][11];

// Making and taking back moves.
// The state before one move, saved by MakeMove and copied back by UnmakeMove.
struct UndoRecord {
  Move move;
  uint8_t EpFile;
  uint8_t CastleRights;
  int32_t PSEScore;
  uint64_t HashKey;
  uint32_t PawnKey;
  uint8_t InCheck;
  // The whole clock, not its low byte: taking a move back never changes it.
  uint32_t HalfmoveClock;
  uint32_t MaterialSignature;
};

// The record of ply p describes the position at ply p - 1 (entry 0 unused).
// The undo stack, the null-move stack and KeyHistory start with 1024 entries
// and grow by need, so a game of any length plays on; the room test is one
// predictable compare per move.
extern std::vector<UndoRecord> UndoStack;
// Entry k holds the EpFile in force when the null move at nesting depth k was made.
extern std::vector<int32_t> NullMoveEpStack;
extern int32_t NullMoveCount;

void MakeMove(Move move);
void UnmakeMove();
void MakeNullMove();
void UnmakeNullMove();
// Makes KeyHistory[index] writable, growing the store if need be (MakeMove
// does the same for each new entry); for callers that write entries ahead.
void EnsureKeyHistoryRoom(int32_t index);

// Static exchange evaluation.
extern const int32_t SeeValue[13];
int32_t SEE(Move move);
int32_t SwapOff(uint8_t from, uint8_t to);
BitBoard AddXrayAttackers(BitBoard attackers, uint8_t sq, int8_t dir);

// Move input.
bool ParseAndMakeMove(const std::string& text);
void MakeInputMove(Move move);
