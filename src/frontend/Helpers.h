// Shared helpers: rounding, pseudo-random numbers, integer text, trimming.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Nearest integer, halves to even, in double precision.
int64_t Round(double x);

extern uint32_t RandSeed;
uint32_t Random(uint32_t n);  // a draw in 0..n-1 (0 when n is 0)
void Reseed();

// Strict parse of a whole 32-bit integer: on anything else the conversion
// error (its message on standard error, exit code 1). Never returns then.
int32_t StrToInt(const std::string& text);
// The message of the conversion error for a text, without a line end.
std::string ConversionErrorMessage(const std::string& text);
// Lenient parse: value of the digits read; pos is 0 when the whole text was
// read and held a digit, else the 1-based position of the first other character
// (one past the end when the text ran out before a digit).
int64_t Val(const std::string& text, int32_t& pos);
// Whole-text variant: the value when Val read all of the text, else def.
int64_t StrToIntDef(const std::string& text, int64_t def);
// Removes every character at or below the space from both ends.
std::string Trim(std::string_view text);
// Decimal text with a comma between groups of three digits.
std::string FormatThousands(int64_t n);
// Command matching: a prefix command matches the start of the line byte for
// byte, a trailing space included; its argument is the rest of the line from
// a 1-based character position, empty when the line is shorter.
bool HasPrefix(const std::string& line, const char* word);
std::string ArgumentFrom(const std::string& line, size_t position);
