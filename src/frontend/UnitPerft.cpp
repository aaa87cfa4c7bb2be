// PLACEHOLDER: replaced by perft, divide and the perft suite.
#include "frontend/UnitPerft.h"

void PerftCommand(const std::string&, bool) {}
void RunPerft(int32_t) {}
void PerftCount(int32_t) {}
void DivideCount(int32_t) {}
void PrintPerftResult(int32_t, int64_t, int64_t) {}
void RunPerftSuite() {}
std::string FormatElapsed(int64_t) { return ""; }
std::string FormatAbbreviated(int64_t) { return ""; }
