// Attack, blocker and pin queries: the tricky cases, and a square-by-square
// comparison with a board walker on every reference position.
#include <gtest/gtest.h>

#include "board/BoardTestSupport.h"
#include "board/UnitBitBoard.h"

namespace {

bool IsWhite(uint8_t c) { return (c >= WhitePawn && c <= WhiteQueen) || c == WhiteKing; }
bool IsBlack(uint8_t c) { return (c >= BlackQueen && c <= BlackRook) || c == BlackKing; }
BitBoard Bit(int s) { return BitBoard{1} << s; }
bool OnBoard(int f, int r) { return f >= 0 && f < 8 && r >= 0 && r < 8; }

// First occupied square from s in direction (df, dr), or -1.
int FirstPiece(int s, int df, int dr) {
  for (int f = s % 8 + df, r = s / 8 + dr; OnBoard(f, r); f += df, r += dr)
    if (Board[r * 8 + f] != Empty) return r * 8 + f;
  return -1;
}

const int LineSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
const int DiagSteps[4][2] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}};

bool MovesAlongLines(uint8_t c) {
  return c == WhiteRook || c == WhiteQueen || c == BlackRook || c == BlackQueen;
}
bool MovesAlongDiagonals(uint8_t c) {
  return c == WhiteBishop || c == WhiteQueen || c == BlackBishop || c == BlackQueen;
}

// Every piece of either colour attacking s, found by looking from s outward.
BitBoard WalkedAttackers(int s) {
  BitBoard a = 0;
  const int f = s % 8, r = s / 8;
  for (auto& d : LineSteps) {
    const int t = FirstPiece(s, d[0], d[1]);
    if (t >= 0 && MovesAlongLines(Board[t])) a |= Bit(t);
  }
  for (auto& d : DiagSteps) {
    const int t = FirstPiece(s, d[0], d[1]);
    if (t >= 0 && MovesAlongDiagonals(Board[t])) a |= Bit(t);
  }
  for (int df = -2; df <= 2; df++)
    for (int dr = -2; dr <= 2; dr++) {
      if (!OnBoard(f + df, r + dr)) continue;
      const int t = (r + dr) * 8 + f + df;
      const uint8_t c = Board[t];
      if (std::abs(df * dr) == 2 && (c == WhiteKnight || c == BlackKnight)) a |= Bit(t);
      if (std::max(std::abs(df), std::abs(dr)) == 1 && (c == WhiteKing || c == BlackKing))
        a |= Bit(t);
      if (std::abs(df) == 1 && dr == -1 && c == WhitePawn) a |= Bit(t);
      if (std::abs(df) == 1 && dr == 1 && c == BlackPawn) a |= Bit(t);
    }
  return a;
}

BitBoard ColorSet(bool white) {
  BitBoard b = 0;
  for (int s = 0; s < 64; s++)
    if (white ? IsWhite(Board[s]) : IsBlack(Board[s])) b |= Bit(s);
  return b;
}

// The piece on s stands between its own king and an enemy slider of the
// right kind, with nothing else on either side.
bool WalkedPin(int s, bool whiteKing) {
  const int king = whiteKing ? WhiteKingSquare : BlackKingSquare;
  for (int line = 0; line < 2; line++)
    for (auto& d : line == 0 ? LineSteps : DiagSteps) {
      if (FirstPiece(s, d[0], d[1]) != king) continue;
      const int t = FirstPiece(s, -d[0], -d[1]);
      if (t < 0) continue;
      const uint8_t c = Board[t];
      const bool enemy = whiteKing ? IsBlack(c) : IsWhite(c);
      if (enemy && (line == 0 ? MovesAlongLines(c) : MovesAlongDiagonals(c))) return true;
    }
  return false;
}

// Non-king pieces of one colour that can move onto the empty square s.
BitBoard WalkedBlockers(int s, bool white) {
  BitBoard b = WalkedAttackers(s) & ColorSet(white);
  for (int t = 0; t < 64; t++) {
    const uint8_t c = Board[t];
    if (c == WhiteKing || c == BlackKing || c == WhitePawn || c == BlackPawn) b &= ~Bit(t);
  }
  const int forward = white ? 8 : -8;
  const uint8_t pawn = white ? WhitePawn : BlackPawn;
  const int doubleRank = white ? 3 : 4;
  if (s - forward >= 0 && s - forward < 64 && Board[s - forward] == pawn) b |= Bit(s - forward);
  if (s / 8 == doubleRank && Board[s - forward] == Empty && Board[s - 2 * forward] == pawn)
    b |= Bit(s - 2 * forward);
  return b;
}

class AttackQueries : public ::testing::Test {
 protected:
  void SetUp() override { EnsureBoardTables(); }
  void Set(const std::string& fen) {
    ASSERT_EQ(SetUpOutput(fen), "") << fen;
  }
};

TEST_F(AttackQueries, AgreeWithABoardWalkerOnEveryReferencePosition) {
  for (const std::string& line : ReferenceFens()) {
    Set(line);
    const BitBoard white = ColorSet(true), black = ColorSet(false);
    for (int s = 0; s < 64; s++) {
      const BitBoard all = WalkedAttackers(s);
      ASSERT_EQ(AttacksTo(uint8_t(s)), all) << line << " " << SquareNames[s];
      ASSERT_EQ(WhiteAttacksTo(uint8_t(s)), all & white) << line << " " << SquareNames[s];
      ASSERT_EQ(BlackAttacksTo(uint8_t(s)), all & black) << line << " " << SquareNames[s];
      ASSERT_EQ(IsAttackedByWhite(uint8_t(s)), (all & white) != 0) << line << SquareNames[s];
      ASSERT_EQ(IsAttackedByBlack(uint8_t(s)), (all & black) != 0) << line << SquareNames[s];
      if (IsWhite(Board[s]) && Board[s] != WhiteKing) {
        ASSERT_EQ(IsPinnedToWhiteKing(uint8_t(s)), WalkedPin(s, true)) << line << SquareNames[s];
      }
      if (IsBlack(Board[s]) && Board[s] != BlackKing) {
        ASSERT_EQ(IsPinnedToBlackKing(uint8_t(s)), WalkedPin(s, false)) << line << SquareNames[s];
      }
      if (Board[s] == Empty) {
        ASSERT_EQ(WhiteBlockersTo(uint8_t(s)), WalkedBlockers(s, true)) << line << SquareNames[s];
        ASSERT_EQ(BlackBlockersTo(uint8_t(s)), WalkedBlockers(s, false)) << line << SquareNames[s];
      }
    }
  }
}

// Pins through every line type: only an enemy slider of the line's kind,
// with nothing else between, pins.
TEST_F(AttackQueries, PinsAlongFilesRanksAndDiagonals) {
  struct Case {
    const char* fen;
    const char* square;
    bool pinned;
  };
  const Case cases[] = {
      {"4r2k/8/8/8/8/8/4B3/4K3 w - -", "e2", true},
      {"4b2k/8/8/8/8/8/4B3/4K3 w - -", "e2", false},
      {"4r2k/8/8/8/4N3/8/4B3/4K3 w - -", "e2", false},
      {"4b2k/8/8/8/4r3/8/4B3/4K3 w - -", "e2", true},
      {"4b2k/8/8/8/4q3/8/4B3/4K3 w - -", "e2", true},
      {"4R3/8/8/8/8/8/4B3/4K2k w - -", "e2", false},  // a white slider behind
      {"7k/8/8/b7/8/8/3N4/4K3 w - -", "d2", true},
      {"7k/8/8/8/b7/8/3N4/4K3 w - -", "d2", false},
      {"7k/8/8/8/8/8/3N4/q3K3 w - -", "d2", false},  // a1 is not on d2's line with e1
      {"7k/8/8/8/8/8/8/r1N1K3 w - -", "c1", true},
      {"7k/8/8/8/8/8/8/b1N1K3 w - -", "c1", false},  // a bishop along a rank
      {"7k/8/8/7b/8/5P2/8/3K4 w - -", "f3", true},
      {"4r2k/8/8/8/8/8/2N5/4K3 w - -", "c2", false},  // on no line with the king
      {"k7/1n6/8/8/8/8/6B1/7K b - -", "b7", true},
      {"7k/6n1/8/8/8/8/8/Q6K b - -", "g7", true},
      {"7k/6n1/8/8/8/8/8/R6K b - -", "g7", false},  // a rook along a diagonal
      {"k7/8/8/8/8/8/p7/R6K b - -", "a2", true},
  };
  for (const Case& c : cases) {
    Set(c.fen);
    const uint8_t s = Sq(c.square);
    EXPECT_EQ(WhiteToMove ? IsPinnedToWhiteKing(s) : IsPinnedToBlackKing(s), c.pinned) << c.fen;
  }
}

TEST_F(AttackQueries, PawnBlockersWithSingleAndDoubleSteps) {
  Set("4k3/8/8/8/8/8/4P3/4K3 w - -");
  EXPECT_EQ(WhiteBlockersTo(Sq("e4")), Squares({"e2"}));
  EXPECT_EQ(WhiteBlockersTo(Sq("e3")), Squares({"e2"}));
  Set("4k3/8/8/8/8/4P3/8/4K3 w - -");
  EXPECT_EQ(WhiteBlockersTo(Sq("e4")), Squares({"e3"}));
  Set("4k3/8/8/8/8/4n3/4P3/4K3 w - -");
  EXPECT_EQ(WhiteBlockersTo(Sq("e4")), 0u);
  Set("4k3/8/8/8/8/4P3/4P3/4K3 w - -");
  EXPECT_EQ(WhiteBlockersTo(Sq("e4")), Squares({"e3"}));
  Set("k7/4P3/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(WhiteBlockersTo(Sq("e8")), Squares({"e7"}));
  Set("4k3/4p3/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(BlackBlockersTo(Sq("e5")), Squares({"e7"}));
  EXPECT_EQ(BlackBlockersTo(Sq("e6")), Squares({"e7"}));
  Set("4k3/8/8/8/8/8/4p3/K7 w - -");
  EXPECT_EQ(BlackBlockersTo(Sq("e1")), Squares({"e2"}));
  // A pawn never blocks by capturing.
  Set("4k3/8/8/8/8/8/3P4/4K3 w - -");
  EXPECT_EQ(WhiteBlockersTo(Sq("e3")), 0u);
}

TEST_F(AttackQueries, StartPositionAttackedSquares) {
  Set(StartFEN);
  for (int f = 0; f < 8; f++) {
    EXPECT_TRUE(IsAttackedByWhite(uint8_t(16 + f))) << f;
    EXPECT_FALSE(IsAttackedByWhite(uint8_t(32 + f))) << f;
    EXPECT_TRUE(IsAttackedByBlack(uint8_t(40 + f))) << f;
    EXPECT_FALSE(IsAttackedByBlack(uint8_t(24 + f))) << f;
  }
  EXPECT_FALSE(IsAttackedByBlack(Sq("e1")));
  EXPECT_FALSE(IsAttackedByWhite(Sq("e8")));
  EXPECT_EQ(WhiteAttacksTo(Sq("f3")), Squares({"e2", "g2", "g1"}));
  EXPECT_EQ(BlackAttacksTo(Sq("c6")), Squares({"b7", "d7", "b8"}));
  EXPECT_EQ(AttacksTo(Sq("d2")), Squares({"b1", "c1", "d1", "e1"}));
}

}  // namespace
