// PLACEHOLDER: replaced by move notation.
#include "frontend/Notation.h"

std::string MoveToText(Move) { return ""; }
void MovesToSAN(std::string*, MoveList) {}
