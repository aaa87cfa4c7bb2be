// Progress lines and principal-variation text.
#include "frontend/ProgressLines.h"

std::string BestMoveText;

void PrintSearchInfo() {}
void PrintPVHeader() {}
void PrintPVLineConsole(const std::string&) {}
std::string PVToSAN(const PrincipalVariation&, const std::string&) { return ""; }
std::string PVToUciText(const PrincipalVariation&) { return ""; }
