// Piece-square tables, blended by game phase, and the piece-square sum.
//
// Values are centipawns from White's point of view: a Black piece on a good
// square subtracts. Black tables are the White ones mirrored top to bottom
// and negated, exactly, at every phase.
#pragma once
#include <cstdint>

// Rows of short vectors indexed by a file, a rank or a diagonal distance;
// the base tables are sums of them.
extern const int32_t PSEVectors[23][8];

enum : int { PhaseOpening = 0, PhaseEndgame = 1 };

// By piece code 1..12, opening and endgame; built once by InitPSETables.
extern int32_t PSEBaseTables[13][2][64];

// The live tables of the last blend, by piece code 1..12 (row 0 stays 0).
extern int32_t PSETable[13][64];
extern int32_t PSEDelta[13][64][64];  // PSETable[c][to] - PSETable[c][from]
// Change of PSEScore when White castles (king and rook together); Black's
// castlings change it by exactly the negated values.
extern int32_t CastleShortPSEDelta;
extern int32_t CastleLongPSEDelta;
// Blended material values by piece code; 0 for empty and the kings.
extern int32_t PieceValue[13];

void InitPSETables();
// Re-blends everything above for the current material and recomputes PSEScore.
void BlendPSETables();
int32_t ComputePSEScore();
