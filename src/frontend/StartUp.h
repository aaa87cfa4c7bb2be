// The program's entry and the engine's start-up sequence, with the settings
// that start-up puts in place.
#pragma once
#include <cstdint>

// The values of ProtocolMode: the protocol whose forms the output takes.
constexpr int32_t ConsoleProtocol = 0;
constexpr int32_t UciProtocol = 1;
constexpr int32_t XboardProtocol = 2;

extern int32_t ProtocolMode;
extern int32_t HashSizeMB;

void ProgramEntry();
// Sets every subsystem up and prints the start-up lines; "info" runs it again.
void InitEngine();
