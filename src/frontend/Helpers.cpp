// PLACEHOLDER: replaced by the shared helpers.
#include "frontend/Helpers.h"

uint32_t RandSeed;
int64_t Round(double x) { return static_cast<int64_t>(x); }
uint32_t Random(uint32_t) { return 0; }
void Reseed() {}
int32_t StrToInt(const std::string&) { return 0; }
int64_t Val(const std::string&, int32_t& pos) { pos = 0; return 0; }
int64_t StrToIntDef(const std::string&, int64_t def) { return def; }
std::string Trim(const std::string& text) { return text; }
std::string FormatThousands(int64_t n) { return std::to_string(n); }
