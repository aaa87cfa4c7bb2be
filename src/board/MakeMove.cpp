// PLACEHOLDER: replaced by making and taking back moves.
#include "board/UnitMoves.h"

void MakeMove(Move) {}
void UnmakeMove() {}
void MakeNullMove() {}
void UnmakeNullMove() {}
