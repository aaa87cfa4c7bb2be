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

TEST(AnsiColor, ColorSwitchesUseTheTerminalPalette) {
  const struct {
    uint8_t attribute;
    const char* sequence;
  } cases[] = {
      {7, "\x1b[0m"},                          // normal: the terminal's defaults
      {10, "\x1b[0;38;5;28m"},                 // logo green on the default background
      {111, "\x1b[0;1;38;5;231;48;5;130m"},    // bold white on brown
      {127, "\x1b[0;1;38;5;231;48;5;245m"},    // bold white on grey
      {96, "\x1b[0;38;5;16;48;5;130m"},        // black on brown
      {112, "\x1b[0;38;5;16;48;5;245m"},       // black on grey
      {0x1C, "\x1b[0;91;44m"},                 // any other: bright red on blue
      {0x80, "\x1b[0;30;100m"},                // black on dark grey
  };
  for (const auto& c : cases) EXPECT_EQ(AnsiColor(c.attribute), c.sequence) << int(c.attribute);
}
