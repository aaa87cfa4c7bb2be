// The program's entry and the engine's start-up sequence, with the settings
// that start-up puts in place.
#pragma once
#include <cstdint>

// The values of ProtocolMode: the protocol whose forms the output takes.
constexpr int32_t ConsoleProtocol = 0;
constexpr int32_t UciProtocol = 1;
constexpr int32_t XboardProtocol = 2;

// The name the engine gives itself at start-up, in the logo and to GUIs.
inline constexpr char EngineVersion[] = "Velkar 0.5.9 RND";

// The hash size every start-up and "info" puts back, and the UCI default.
constexpr int32_t DefaultHashSizeMB = 256;

extern int32_t ProtocolMode;
extern int32_t HashSizeMB;

void ProgramEntry();
// Sets every subsystem up and prints the start-up lines; "info" runs it again.
void InitEngine();
