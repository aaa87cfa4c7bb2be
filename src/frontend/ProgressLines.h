// Progress lines of the move choice in each protocol's form, and the
// principal variation as text.
#pragma once
#include <string>

#include "search/UnitSearch.h"

// Algebraic text of the first move of the last variation turned into text.
extern std::string BestMoveText;

void PrintSearchInfo();
void PrintPVHeader();
void PrintPVLineConsole(const std::string& marker);
// Numbered algebraic text of a variation from the current position, the
// marker after its first move; sets BestMoveText. The position is restored.
std::string PVToSAN(const PrincipalVariation& pv, const std::string& marker);
std::string PVToUciText(const PrincipalVariation& pv);
