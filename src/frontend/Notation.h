// Move text: coordinate notation and standard algebraic notation.
#pragma once
#include <string>

#include "board/UnitMoves.h"

std::string MoveToText(Move move);
// Fills texts[i] with the algebraic text of list.Moves[i]; the list holds the
// legal moves of the current position, which is unchanged on return.
void MovesToSAN(std::string* texts, MoveList list);
