// The UCI protocol loop.
#pragma once
#include <string>

// The move list of the last "position" command that had one, and the position
// it was made on: the FEN text, empty for the start position. NewGame empties
// both. A list extends the last one only on the same base.
extern std::string LastPositionMoves;
extern std::string LastPositionBase;

void UciLoop();
void UciPrintOptions();
// Removes the first space-separated word from text and returns it.
std::string NextToken(std::string& text);
void UciSetOption(std::string args);
void UciGo(std::string args);
// The limits of a "go" from its words, on a search state just reset.
void UciGoLimits(std::string args);
void UciPosition(std::string args);
