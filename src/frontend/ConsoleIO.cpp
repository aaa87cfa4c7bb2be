// PLACEHOLDER: replaced by the console and pipe layer and the start-up.
#include "frontend/ConsoleIO.h"

#include <cstdio>

int32_t ProtocolMode = 0;
int32_t HashSizeMB = 256;
bool IsConsoleInput = false;

void ProgramEntry() {}
void InitConsoleIO() {}
void InitEngine() {}
uint16_t InputAvailable() { return 0; }
void ReadInput(std::string& line, uint16_t) { line.clear(); }
bool ReadPromptLine(std::string& line) { line.clear(); return false; }
void WriteRaw(const char* buffer, uint32_t count) { fwrite(buffer, 1, count, stdout); fflush(stdout); }
void WriteLine(const std::string& text) { std::string s = text + "\r\n"; WriteRaw(s.data(), s.size()); }
void WriteText(const std::string& text) { fputs(text.c_str(), stdout); }
void FlushText() { fflush(stdout); }
std::string PadStr(const std::string& text, int32_t) { return text; }
void SetColorLogo() {}
void SetColorWhiteOnBrown() {}
void SetColorWhiteOnGrey() {}
void SetColorBlackOnBrown() {}
void SetColorBlackOnGrey() {}
void SetColorNormal() {}
void PrintRule() {}
void PrintLogo() {}
