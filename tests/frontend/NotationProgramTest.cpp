// Moves typed at the console, in every notation the move input takes, and the
// position they lead to as the "epd" command writes it.
#include <gtest/gtest.h>

#include <string>

#include "support/ProgramDriver.h"

namespace {

// The text of the last line the program wrote, without its CR LF.
std::string LastLine(const std::string& out) {
  if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) return "(no line end)";
  size_t end = out.size() - 2;
  size_t start = out.rfind("\r\n", end == 0 ? 0 : end - 1);
  start = start == std::string::npos ? 0 : start + 2;
  return out.substr(start, end - start);
}

std::string FenAfter(const std::string& lines) {
  ProgramResult result = RunProgram(lines + "epd\r\nquit\r\n");
  EXPECT_EQ(result.ExitCode, 0);
  return LastLine(result.Out);
}

}  // namespace

TEST(ConsoleMoves, TypedMovesInEveryNotation) {
  // Coordinates, algebraic in any case, a capture and a castling spelling.
  EXPECT_EQ(FenAfter("e2e4\r\ne5\r\ng1f3\r\nNC6\r\nBb5\r\na7a6\r\nBxc6\r\ndxc6\r\n0-0\r\n"),
            "r1bqkbnr/1pp2ppp/p1p5/4p3/4P3/5N2/PPPP1PPP/RNBQ1RK1 b kq - 0 5");
}

TEST(ConsoleMoves, PromotionAndEnPassant) {
  EXPECT_EQ(FenAfter("s 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1\r\nb7b8q\r\nKe7\r\n"),
            "1Q6/4k3/8/8/8/8/8/4K3 w - - 1 2");
  EXPECT_EQ(FenAfter("s 4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1\r\ne4\r\n"),
            "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
  EXPECT_EQ(FenAfter("s 4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1\r\ne4\r\ndxe3\r\n"),
            "4k3/8/8/8/8/4p3/8/4K3 w - - 0 2");
}

TEST(ConsoleMoves, ALineThatIsNoMoveChangesAndPrintsNothing) {
  ProgramResult result = RunProgram("E2E4\r\ne2e5\r\nOo\r\nHELP\r\nepd\r\nquit\r\n");
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Out,
            StartupText() + "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\r\n");
}
