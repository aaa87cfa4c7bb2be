// The board display with its position report, and its two settings.
#pragma once
#include <string>

extern char BoardDisplay;  // '0' none, '1' tiny, '2' medium
extern char Figurines;     // '0' letters, '1' figurine glyphs

// Each takes exactly one allowed character; anything else gets a message and
// changes nothing. With show set an accepted value redraws the board.
void SetBoardDisplay(const std::string& p, bool show);
void SetFigurines(const std::string& p, bool show);
void PrintBoard();
