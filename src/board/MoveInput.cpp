// PLACEHOLDER: replaced by move input.
#include "board/UnitMoves.h"

bool ParseAndMakeMove(const std::string&) { return false; }
void MakeInputMove(Move) {}
