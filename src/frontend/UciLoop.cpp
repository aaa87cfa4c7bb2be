// The UCI protocol loop.
#include "frontend/UciLoop.h"

#include "frontend/ConsoleIO.h"

std::string LastPositionMoves;

void UciLoop() {}

void UciPrintOptions() { WriteLine("option name Hash type spin default 256 min 16 max 512"); }

std::string NextToken(std::string& text) {
  (void)text;
  return "";
}

void UciSetOption(std::string) {}
void UciGo(std::string) {}
void UciPosition(std::string) {}
