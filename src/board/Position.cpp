// PLACEHOLDER: replaced by the position state and FEN set-up.
#include "board/Position.h"

uint8_t Board[64];
BitBoard PieceBB[10];
int32_t WhiteKingSquare, BlackKingSquare;
BitBoard WhiteKingBB, BlackKingBB, WhitePieces, BlackPieces, Occupied;
BitBoard OccupiedFileRotated, OccupiedDiagRotatedA, OccupiedDiagRotatedB;
uint8_t WhiteToMove;
uint32_t CastleRights;
int32_t EpFile = 128;
uint32_t HalfmoveClock;
uint8_t InCheck;
uint64_t HashKey;
uint32_t PawnKey;
int32_t PSEScore;
uint32_t MaterialSignature;
int32_t Ply;
uint8_t GamePly;
std::vector<uint64_t> KeyHistory(1024);
int32_t KeyHistoryCount;
const char PieceLetters[14] = " PNBRQqpnbrKk";
const char* const SquareNames[64] = {};
const uint8_t MaterialShift[11] = {};
const uint32_t MaterialIncrement[11] = {};
const char* const StartFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

void SetPositionFromFEN(const std::string&) {}
std::string GetFEN() { return ""; }
