// Perft, divide and the perft suite.
#pragma once
#include <cstdint>
#include <string>

// Leaves counted so far at the depth being counted.
extern int64_t PerftNodes;

void PerftCommand(const std::string& arg, bool divide);
void RunPerft(int32_t d);
void PerftCount(int32_t d);
void DivideCount(int32_t d);
void PrintPerftResult(int32_t d, int64_t nodes, int64_t ms);
void RunPerftSuite();
std::string FormatElapsed(int64_t ms);
std::string FormatAbbreviated(int64_t n);
