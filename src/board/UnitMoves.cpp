// PLACEHOLDER: replaced by the legal-move generators.
#include "board/UnitMoves.h"

void GenerateMoves(MoveList& list) { list.Count = 0; }
void GenerateWhiteCaptures(MoveList& list) { list.Count = 0; }
void GenerateBlackCaptures(MoveList& list) { list.Count = 0; }
void GenerateWhiteQuiets(MoveList& list) { list.Count = 0; }
void GenerateBlackQuiets(MoveList& list) { list.Count = 0; }
void GenerateWhiteEvasions(MoveList& list) { list.Count = 0; }
void GenerateBlackEvasions(MoveList& list) { list.Count = 0; }
