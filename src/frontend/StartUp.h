// The program's entry and the engine's start-up sequence, with the settings
// that start-up puts in place.
#pragma once
#include <cstdint>

extern int32_t ProtocolMode;  // 0 console, 1 UCI, 2 xboard
extern int32_t HashSizeMB;

void ProgramEntry();
// Sets every subsystem up and prints the start-up lines; "info" runs it again.
void InitEngine();
