// Progress lines of the move choice in each protocol's form, and the
// principal variation as text.
#pragma once
#include <cstdint>
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

// The line PrintSearchInfo writes for the current protocol, and the console
// line, with the elapsed time given: one clock reading serves the whole line.
std::string SearchInfoLine(int64_t elapsedMs);
std::string ConsoleSearchLine(const std::string& marker, int64_t elapsedMs);
// The console's five-character node count.
std::string NodeCountText(int64_t nodes);
