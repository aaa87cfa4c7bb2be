// The console command loop: the first loop after start-up, which also hands
// the run over to UCI or xboard.
#pragma once
#include <string>

// Runs until "quit" or "q", the end of input, or until the protocol loop it
// entered returns.
void ConsoleLoop();
// Acts on one trimmed input line; false when the loop is to end.
bool ConsoleCommand(const std::string& line);
