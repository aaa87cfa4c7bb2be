// The FEN messages and the FEN line as the console commands show them.
#include <gtest/gtest.h>

#include "support/ProgramSession.h"

namespace {

const std::string SyntaxMessage = "\r\nIllegal FEN: syntax is not recognized\r\n";
const std::string StartFenLine = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\r\n";

// Output of the commands after the start-up text.
std::string Reply(const std::string& commands) { return SessionOutput(commands + "quit\n"); }

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

TEST(FenCommands, EpdWritesTheCurrentPosition) {
  EXPECT_EQ(Reply("epd\n"), StartFenLine);
  EXPECT_EQ(Reply("e\n"), StartFenLine);
  EXPECT_TRUE(EndsWith(Reply("s 4k3/8/8/8/4P3/8/8/4K3 b - e3 bm Kd7;\nepd\n"),
                       "4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1\r\n"));
  EXPECT_TRUE(EndsWith(Reply("setboard r3k2r/8/8/8/8/8/8/R3K2R w qkQK - 17 40\ne\n"),
                       "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1\r\n"));
}

TEST(FenCommands, SyntaxFailuresPrintTheirDigitLineAndKeepThePosition) {
  const std::string kept = "4k3/8/8/8/8/8/8/4K3 w - - 0 1\r\n";
  const std::pair<const char*, const char*> cases[] = {
      {"4k3/8/8/8/8/8/8/4K3R w - -", "4\r\n"},
      {"8/8/8/8/8/8/8/8/8/8 w - -", "2\r\n"},
      {"4k3/8/8/8/8/8/8/4K3 x - -", ""},
  };
  for (const auto& [fen, digit] : cases) {
    const std::string out =
        Reply("s 4k3/8/8/8/8/8/8/4K3 w - -\ns " + std::string(fen) + "\nepd\n");
    const std::string failure = std::string(digit) + SyntaxMessage;
    EXPECT_NE(out.find(failure), std::string::npos) << fen;
    EXPECT_TRUE(EndsWith(out, kept)) << fen;
  }
}

TEST(FenCommands, ValidationFailuresPrintEveryMessageAndSetTheStartPosition) {
  const std::string out = Reply("s 8/8/8/8/8/8/8/P6p w - -\nepd\n");
  EXPECT_TRUE(StartsWith(out, "\r\nIllegal FEN: Pawns on the first rank\r\nPawns on the first rank"
                              "\r\nIllegal White King's number\r\nIllegal Black King's number\r\n"
                              "\r\n"));
  EXPECT_TRUE(EndsWith(out, StartFenLine));
  const std::string group2 = Reply("setboard 4k3/8/8/8/8/1NNN4/PPPPPPPP/4K1R1 w K -\nepd\n");
  EXPECT_TRUE(StartsWith(group2, "\r\nIllegal FEN: Too many White Knights\r\n"
                                 "White couldn't castle short\r\n\r\n"));
  EXPECT_TRUE(EndsWith(group2, StartFenLine));
  const std::string check = Reply("s 4k3/8/8/8/8/8/8/4R1K1 w - -\nepd\n");
  EXPECT_TRUE(StartsWith(check, "\r\nIllegal FEN: side not to move is in check\r\n"));
  EXPECT_TRUE(EndsWith(check, StartFenLine));
}

TEST(FenCommands, TrailingSpacesOfTheLineAreTrimmedBeforeTheSetUp) {
  EXPECT_TRUE(EndsWith(Reply("s 4k3/8/8/8/8/8/8/4K3 b   \nepd\n"), "4k3/8/8/8/8/8/8/4K3 b - - 0 1\r\n"));
}

}  // namespace
