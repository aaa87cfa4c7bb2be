// The UCI protocol loop.
#pragma once
#include <string>

// The move list of the last "position" command that had one; NewGame empties it.
extern std::string LastPositionMoves;

void UciLoop();
void UciPrintOptions();
// Removes the first space-separated word from text and returns it.
std::string NextToken(std::string& text);
void UciSetOption(std::string args);
void UciGo(std::string args);
void UciPosition(std::string args);
