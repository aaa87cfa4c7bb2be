// The board display with its position report, and its two settings.
#pragma once
#include <cstdint>
#include <string>

extern char BoardDisplay;  // '0' none, '1' tiny, '2' medium
extern char Figurines;     // '0' letters, '1' figurine glyphs

// Each takes exactly one allowed character; anything else gets a message and
// changes nothing. With show set an accepted value redraws the board.
void SetBoardDisplay(const std::string& p, bool show);
void SetFigurines(const std::string& p, bool show);

// The board beside the position report, then the piece counts and the
// evaluation breakdown. Nothing at all while the display is off.
void PrintBoard();

// A score as the report shows it: "#" and the moves to mate (negative when
// being mated) for a mate score, else the plain number.
std::string ScoreText(int32_t score);
