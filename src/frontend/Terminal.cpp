#include "frontend/Terminal.h"

namespace {

// Code page 437 by byte, in UTF-8. The NUL entry is written out by length, so
// entry 0 is never used as a C string.
const char* const Cp437[256] = {
    "\x00", "\xe2\x98\xba", "\xe2\x98\xbb", "\xe2\x99\xa5", "\xe2\x99\xa6", "\xe2\x99\xa3", "\xe2\x99\xa0", "\x07",
    "\x08", "\x09", "\x0a", "\xe2\x99\x82", "\xe2\x99\x80", "\x0d", "\xe2\x99\xab", "\xe2\x98\xbc",
    "\xe2\x96\xba", "\xe2\x97\x84", "\xe2\x86\x95", "\xe2\x80\xbc", "\xc2\xb6", "\xc2\xa7", "\xe2\x96\xac", "\xe2\x86\xa8",
    "\xe2\x86\x91", "\xe2\x86\x93", "\xe2\x86\x92", "\xe2\x86\x90", "\xe2\x88\x9f", "\xe2\x86\x94", "\xe2\x96\xb2", "\xe2\x96\xbc",
    " ", "!", "\x22", "#", "$", "%", "&", "'",
    "(", ")", "*", "+", ",", "-", ".", "/",
    "0", "1", "2", "3", "4", "5", "6", "7",
    "8", "9", ":", ";", "<", "=", ">", "?",
    "@", "A", "B", "C", "D", "E", "F", "G",
    "H", "I", "J", "K", "L", "M", "N", "O",
    "P", "Q", "R", "S", "T", "U", "V", "W",
    "X", "Y", "Z", "[", "\x5c", "]", "^", "_",
    "`", "a", "b", "c", "d", "e", "f", "g",
    "h", "i", "j", "k", "l", "m", "n", "o",
    "p", "q", "r", "s", "t", "u", "v", "w",
    "x", "y", "z", "{", "|", "}", "~", "\xe2\x8c\x82",
    "\xc3\x87", "\xc3\xbc", "\xc3\xa9", "\xc3\xa2", "\xc3\xa4", "\xc3\xa0", "\xc3\xa5", "\xc3\xa7",
    "\xc3\xaa", "\xc3\xab", "\xc3\xa8", "\xc3\xaf", "\xc3\xae", "\xc3\xac", "\xc3\x84", "\xc3\x85",
    "\xc3\x89", "\xc3\xa6", "\xc3\x86", "\xc3\xb4", "\xc3\xb6", "\xc3\xb2", "\xc3\xbb", "\xc3\xb9",
    "\xc3\xbf", "\xc3\x96", "\xc3\x9c", "\xc2\xa2", "\xc2\xa3", "\xc2\xa5", "\xe2\x82\xa7", "\xc6\x92",
    "\xc3\xa1", "\xc3\xad", "\xc3\xb3", "\xc3\xba", "\xc3\xb1", "\xc3\x91", "\xc2\xaa", "\xc2\xba",
    "\xc2\xbf", "\xe2\x8c\x90", "\xc2\xac", "\xc2\xbd", "\xc2\xbc", "\xc2\xa1", "\xc2\xab", "\xc2\xbb",
    "\xe2\x96\x91", "\xe2\x96\x92", "\xe2\x96\x93", "\xe2\x94\x82", "\xe2\x94\xa4", "\xe2\x95\xa1", "\xe2\x95\xa2", "\xe2\x95\x96",
    "\xe2\x95\x95", "\xe2\x95\xa3", "\xe2\x95\x91", "\xe2\x95\x97", "\xe2\x95\x9d", "\xe2\x95\x9c", "\xe2\x95\x9b", "\xe2\x94\x90",
    "\xe2\x94\x94", "\xe2\x94\xb4", "\xe2\x94\xac", "\xe2\x94\x9c", "\xe2\x94\x80", "\xe2\x94\xbc", "\xe2\x95\x9e", "\xe2\x95\x9f",
    "\xe2\x95\x9a", "\xe2\x95\x94", "\xe2\x95\xa9", "\xe2\x95\xa6", "\xe2\x95\xa0", "\xe2\x95\x90", "\xe2\x95\xac", "\xe2\x95\xa7",
    "\xe2\x95\xa8", "\xe2\x95\xa4", "\xe2\x95\xa5", "\xe2\x95\x99", "\xe2\x95\x98", "\xe2\x95\x92", "\xe2\x95\x93", "\xe2\x95\xab",
    "\xe2\x95\xaa", "\xe2\x94\x98", "\xe2\x94\x8c", "\xe2\x96\x88", "\xe2\x96\x84", "\xe2\x96\x8c", "\xe2\x96\x90", "\xe2\x96\x80",
    "\xce\xb1", "\xc3\x9f", "\xce\x93", "\xcf\x80", "\xce\xa3", "\xcf\x83", "\xc2\xb5", "\xcf\x84",
    "\xce\xa6", "\xce\x98", "\xce\xa9", "\xce\xb4", "\xe2\x88\x9e", "\xcf\x86", "\xce\xb5", "\xe2\x88\xa9",
    "\xe2\x89\xa1", "\xc2\xb1", "\xe2\x89\xa5", "\xe2\x89\xa4", "\xe2\x8c\xa0", "\xe2\x8c\xa1", "\xc3\xb7", "\xe2\x89\x88",
    "\xc2\xb0", "\xe2\x88\x99", "\xc2\xb7", "\xe2\x88\x9a", "\xe2\x81\xbf", "\xc2\xb2", "\xe2\x96\xa0", "\xc2\xa0",
};

}  // namespace

std::string TerminalText(const char* bytes, size_t count) {
  std::string out;
  out.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b == 0)
      out.push_back('\0');
    else
      out += Cp437[b];
  }
  return out;
}

namespace {

// How the six attributes the program uses show on a terminal, in 256-colour
// codes. Each starts from a clean state ("0;"), so nothing of one cell leaks
// into the next. Normal text is the terminal's own default colours, which
// suit light and dark terminals alike. The squares sit at mid luminance so
// that bright white (231, bold for thicker strokes) and black (16, never bold:
// some terminals show bold black as grey) pieces both stand out on both; as
// WCAG contrast ratios: brown 130 (#af5f00) 4.7 with white, 4.5 with black;
// grey 245 (#8a8a8a) 3.5 with white, 6.1 with black; the squares part by hue
// and by 1.4 in luminance. Green 28 (#008700) reads at 4.7 on white and 4.5
// on black.
struct ColorCode {
  uint8_t Attribute;
  const char* Sequence;
};
const ColorCode ColorCodes[] = {
    {7, AnsiReset},                          // normal
    {10, "\x1b[0;38;5;28m"},                // logo
    {111, "\x1b[0;1;38;5;231;48;5;130m"},   // white piece on a dark square
    {127, "\x1b[0;1;38;5;231;48;5;245m"},   // white piece on a light square
    {96, "\x1b[0;38;5;16;48;5;130m"},       // black piece or empty, dark square
    {112, "\x1b[0;38;5;16;48;5;245m"},      // black piece or empty, light square
};

}  // namespace

std::string AnsiColor(uint8_t attribute) {
  for (const ColorCode& c : ColorCodes)
    if (c.Attribute == attribute) return c.Sequence;
  // Any other attribute in the 16 basic colours. The console's bit order is
  // blue-green-red, ANSI's red-green-blue.
  auto ansi = [](unsigned c) { return ((c & 4) ? 1 : 0) | (c & 2) | ((c & 1) ? 4 : 0); };
  unsigned fg = attribute & 15, bg = (attribute >> 4) & 15;
  int fgCode = ((fg & 8) ? 90 : 30) + ansi(fg);
  int bgCode = ((bg & 8) ? 100 : 40) + ansi(bg);
  return "\x1b[0;" + std::to_string(fgCode) + ";" + std::to_string(bgCode) + "m";
}
