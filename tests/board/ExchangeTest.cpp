// Static exchange evaluation: swap-off values, x-ray attackers behind a
// capturing piece, and sliders that join the exchange again.
#include <gtest/gtest.h>

#include "board/BoardTestSupport.h"

namespace {

int32_t Swap(const char* from, const char* to) { return SwapOff(Sq(from), Sq(to)); }

}  // namespace

TEST(Exchange, SimpleExchanges) {
  // A pawn takes an undefended knight.
  SetFEN("4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1");
  EXPECT_EQ(Swap("e4", "d5"), 3);

  // A queen takes a pawn defended by a pawn: 1, then 8 lost.
  SetFEN("4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1");
  EXPECT_EQ(Swap("d1", "d5"), -8);

  // The king takes a pawn defended by a bishop: taking the king back is
  // worth nothing, so the pawn stays won.
  SetFEN("4k3/8/8/8/8/5b2/4p3/4K3 w - - 0 1");
  EXPECT_EQ(Swap("e1", "e2"), 1);

  // Black to move: knight takes bishop, pawn takes knight, knight takes pawn.
  SetFEN("4k3/8/8/1n3n2/3B4/2P5/8/4K3 b - - 0 1");
  EXPECT_EQ(Swap("f5", "d4"), 1);
  EXPECT_EQ(Swap("b5", "d4"), 1);
}

TEST(Exchange, EnPassantTargetCountsAsAPawn) {
  SetFEN("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
  MoveList list;
  GenerateWhiteCaptures(list);
  ASSERT_EQ(list.Count, 1);
  ASSERT_EQ(MoveKind(list.Moves[0]), uint32_t(KindEnPassant));
  EXPECT_EQ(SEE(list.Moves[0]), 1);
  // Defended square: the pawn won is lost again.
  SetFEN("4k3/2p5/8/3pP3/8/8/8/4K3 w - d6 0 1");
  EXPECT_EQ(Swap("e5", "d6"), 0);
}

TEST(Exchange, XrayAttackersJoinFromBehind) {
  // The second rook behind the first joins after the first capture.
  SetFEN("4r2k/4r3/8/8/8/8/4R3/4R1K1 w - - 0 1");
  EXPECT_EQ(Swap("e2", "e7"), 5);
  SetFEN("4r2k/4r3/8/8/8/8/4R3/6K1 w - - 0 1");
  EXPECT_EQ(Swap("e2", "e7"), 0);

  // The queen behind the knight joins once the rook has captured: the line
  // is taken as empty. Without it the rook would be lost for a pawn.
  SetFEN("4k3/5n2/8/4p3/8/4R3/4N3/4QK2 w - - 0 1");
  EXPECT_EQ(Swap("e3", "e5"), -1);
  SetFEN("4k3/5n2/8/4p3/8/4R3/4N3/5K2 w - - 0 1");
  EXPECT_EQ(Swap("e3", "e5"), -4);

  // Only sliders join, through any piece between.
  SetFEN("4k3/5n2/8/4p3/8/4R3/4N3/4QK2 w - - 0 1");
  EXPECT_EQ(AddXrayAttackers(0, Sq("e3"), -8), SquareMask[Sq("e1")]);

  // Both colours' sliders of the line's kind join, other kinds do not.
  SetFEN("6k1/8/8/8/8/2B5/8/b3K3 w - - 0 1");
  EXPECT_EQ(AddXrayAttackers(SquareMask[Sq("h8")], Sq("d4"), -9),
            SquareMask[Sq("h8")] | SquareMask[Sq("c3")] | SquareMask[Sq("a1")]);
  SetFEN("6k1/8/8/8/8/2B5/8/R3K3 w - - 0 1");
  EXPECT_EQ(AddXrayAttackers(0, Sq("d4"), -9), SquareMask[Sq("c3")]);
  EXPECT_EQ(AddXrayAttackers(0, Sq("a4"), -8), SquareMask[Sq("a1")]);
  EXPECT_EQ(AddXrayAttackers(0, Sq("d3"), -1), 0u);
}

TEST(Exchange, SliderJoinsAgainAfterANearerPieceCaptures) {
  // Pawn f6 takes g7; the queen and bishop behind it both join, the cheaper
  // bishop captures first, and after the queen's capture the bishop joins a
  // second time and ends the exchange a pawn up.
  SetFEN("k5r1/6pr/4nP2/4Q3/3B4/8/8/1K6 w - - 0 1");
  EXPECT_EQ(Swap("f6", "g7"), 1);
}

TEST(Exchange, BadStepWritesDebugLineAndEndsTheExchange) {
  SetFEN(StartFEN);
  testing::internal::CaptureStdout();
  const BitBoard result = AddXrayAttackers(SquareMask[0], 27, 3);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(out, "DEBUG ERROR SX\r\n");
}

TEST(Exchange, PositionIsLeftUnchanged) {
  SetFEN("k5r1/6pr/4nP2/4Q3/3B4/8/8/1K6 w - - 0 1");
  const std::string fen = GetFEN();
  const uint64_t key = HashKey;
  Swap("f6", "g7");
  Swap("e5", "e6");
  EXPECT_EQ(GetFEN(), fen);
  EXPECT_EQ(HashKey, key);
}
