// Shared helpers: rounding, pseudo-random numbers, integer text, trimming.
#pragma once
#include <cstdint>
#include <string>

// Nearest integer, halves to even, in double precision.
int64_t Round(double x);

extern uint32_t RandSeed;
uint32_t Random(uint32_t n);  // a draw in 0..n-1
void Reseed();

// Strict parse: the conversion error (message on standard error, exit 1).
int32_t StrToInt(const std::string& text);
// Lenient parse: value of the digits read; pos is 0 when the whole text was
// read and held a digit, else the 1-based position of the first other character.
int64_t Val(const std::string& text, int32_t& pos);
int64_t StrToIntDef(const std::string& text, int64_t def);
std::string Trim(const std::string& text);
std::string FormatThousands(int64_t n);
