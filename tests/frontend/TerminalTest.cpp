#include <gtest/gtest.h>

#include "frontend/Terminal.h"

namespace {
std::string Shown(const std::string& bytes) { return TerminalText(bytes.data(), bytes.size()); }
}  // namespace

TEST(TerminalText, BoxBytesBecomeBoxLines) {
  EXPECT_EQ(Shown("\xDA\xC4\xBF"), "┌─┐");
  EXPECT_EQ(Shown("\xB3 \xB3"), "│ │");
  EXPECT_EQ(Shown("\xC0\xC4\xD9"), "└─┘");
}

TEST(TerminalText, FigurineBytesShowTheirCodePage437Glyphs) {
  // pawn, knight, bishop, rook, queen, king
  EXPECT_EQ(Shown("\xF8\x9F\x06\x0F\x57\xC5"), "°ƒ♠☼W┼");
}

TEST(TerminalText, LineControlAndPlainTextPassUnchanged) {
  EXPECT_EQ(Shown("go e2e4\r\n\t\x07\x08"), "go e2e4\r\n\t\x07\x08");
  std::string withNul("a\0b", 3);
  EXPECT_EQ(Shown(withNul), withNul);
}

TEST(TerminalText, EveryByteHasAShape) {
  for (int b = 0; b < 256; ++b) {
    char c = static_cast<char>(b);
    EXPECT_FALSE(TerminalText(&c, 1).empty()) << b;
  }
  EXPECT_EQ(Shown("\x7F\xFF\x80"), "⌂\u00A0Ç");
}

TEST(AnsiColor, ConsoleAttributesMapToAnsiCodes) {
  EXPECT_EQ(AnsiColor(7), "\x1b[37;40m");     // grey on black
  EXPECT_EQ(AnsiColor(10), "\x1b[92;40m");    // light green on black
  EXPECT_EQ(AnsiColor(111), "\x1b[97;43m");   // bright white on dark yellow
  EXPECT_EQ(AnsiColor(127), "\x1b[97;47m");   // bright white on grey
  EXPECT_EQ(AnsiColor(96), "\x1b[30;43m");    // black on dark yellow
  EXPECT_EQ(AnsiColor(112), "\x1b[30;47m");   // black on grey
  EXPECT_EQ(AnsiColor(0x1C), "\x1b[91;44m");  // bright red on blue
}
