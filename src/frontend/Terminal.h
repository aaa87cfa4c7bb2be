// What a Linux terminal needs in place of the console's own handling: the
// shapes of code page 437 as UTF-8 and console colour attributes as ANSI codes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The bytes as a code-page-437 console shows them, in UTF-8. CR, LF, tab,
// backspace, bell and NUL stay control bytes, as the console treats them.
std::string TerminalText(const char* bytes, size_t count);

// Back to the terminal's own default colours and attributes.
inline constexpr char AnsiReset[] = "\x1b[0m";
inline constexpr size_t AnsiResetLength = sizeof AnsiReset - 1;

// The ANSI sequence for a console character attribute: foreground colour in
// the low 4 bits, background in the next 4 (blue 1, green 2, red 4, bright 8).
// The attributes of the colour switches get colours chosen to read well on
// light and dark terminals, normal text the terminal's default colours; any
// other attribute maps to the 16 basic colours. Every sequence starts from a
// reset.
std::string AnsiColor(uint8_t attribute);
