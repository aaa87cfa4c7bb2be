// Move text: coordinate notation and standard algebraic notation.
#pragma once
#include <string>

#include "board/UnitMoves.h"

// Coordinate text (e2e4, e7e8q; "NULL" for no move). Reads nothing but the move.
std::string MoveToText(Move move);
// Fills texts[i] with the algebraic text (at most 7 characters) of
// list.Moves[i] and empties every entry from list.Count on. The list holds the
// legal moves of the current position, which is unchanged on return.
void MovesToSAN(std::string (&texts)[MaxMoves], MoveList list);
// The console's list of the legal moves in algebraic text, each scored by a
// quiescence search, best first.
void ListLegalMoves();
