// The board display with its position report.
#include "frontend/BoardDisplay.h"

char BoardDisplay = '1';
char Figurines = '1';

void SetBoardDisplay(const std::string&, bool) {}
void SetFigurines(const std::string&, bool) {}
void PrintBoard() {}
