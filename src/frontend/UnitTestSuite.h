// EPD test suite and evaluation walk-through.
#pragma once
#include <cstdint>
#include <string>

// Totals of one test-suite run, zeroed once the seconds per position are given.
extern int32_t PositionsRead;
extern int32_t PositionsSolved;
extern int64_t TotalNodes;
extern int64_t TotalTimeMs;
// Solves by their time: 0..10 the seconds rounded, 11 from 10.5 seconds on.
extern uint32_t SolvedByTime[12];

void RunTestSuite();
void RunEvalSuite();

// The move text of a line's "bm" record, up to its ";"; empty without "bm" or ";".
std::string EpdBmText(const std::string& line);
// Up to 60 bytes of the line from its "bm", else from its "id", else from its start.
std::string EpdTitle(const std::string& line);
bool IsSolved(const std::string& moveText, const std::string& bmText);
int32_t SolvedTimeIndex(int64_t ms);
// The totals row of the result box, cut to 65 bytes; the verdict follows it.
std::string ResultRowText(int32_t solved, int32_t read, int64_t nodes, int64_t ms);
