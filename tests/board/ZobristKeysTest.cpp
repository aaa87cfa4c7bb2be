#include "board/ZobristKeys.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "board/BoardTestSupport.h"

namespace {

class ZobristKeys : public ::testing::Test {
 protected:
  void SetUp() override { EnsureBoardTables(); }
  uint64_t KeyOf(const std::string& fen) {
    EXPECT_EQ(SetUpOutput(fen), "") << fen;
    EXPECT_EQ(HashKey, ComputeHashKey());
    return HashKey;
  }
  uint32_t PawnKeyOf(const std::string& fen) {
    EXPECT_EQ(SetUpOutput(fen), "") << fen;
    return PawnKey;
  }
};

TEST_F(ZobristKeys, ConstantsAreDistinctBelowTwoToThe63AndFixedWhereGiven) {
  std::set<uint64_t> seen;
  for (int i = 1; i <= 793; i++) {
    EXPECT_LT(ZobristConstants[i], uint64_t{1} << 63) << i;
    seen.insert(ZobristConstants[i]);
  }
  EXPECT_EQ(seen.size(), 793u);
  EXPECT_EQ(ZobristConstants[1], 0x6D1E3613C3AFD02Aull);
  EXPECT_EQ(ZobristConstants[2], 0x08703D506D38F5D3ull);
  EXPECT_EQ(ZobristConstants[3], 0x236160DCCFECD6F3ull);
  EXPECT_EQ(ZobristConstants[793], 0x6DA0347D60C668A4ull);
}

// The frozen table must be exactly what the generator described beside it
// gives, so a damaged literal cannot pass unnoticed.
TEST_F(ZobristKeys, GeneratedConstantsMatchTheirGenerator) {
  uint64_t state = 0x56454C4B4152;
  auto next = [&] {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return (z ^ (z >> 31)) & 0x7FFFFFFFFFFFFFFFull;
  };
  std::set<uint64_t> used = {ZobristConstants[1], ZobristConstants[2], ZobristConstants[3],
                             ZobristConstants[793]};
  for (int i = 4; i <= 792; i++) {
    uint64_t v;
    do v = next();
    while (used.count(v));
    used.insert(v);
    ASSERT_EQ(ZobristConstants[i], v) << i;
  }
}

TEST_F(ZobristKeys, QuotedKeys) {
  EXPECT_EQ(PieceKeys[1][0], 0x92E1C9EC3C502FD6ull);
  EXPECT_EQ(WhitePawnKeys[0], 0x3C502FD6u);
  EXPECT_EQ(SideKey, 0x925FCB829F39975Cull);
  // Odd entries are negated, even ones used as they are.
  EXPECT_EQ(PieceKeys[2][0], 0x08703D506D38F5D3ull);
  EXPECT_EQ(PieceKeys[3][0], uint64_t{0} - 0x236160DCCFECD6F3ull);
  EXPECT_EQ(PieceKeys[12][63], ZobristConstants[768]);
  EXPECT_EQ(EpKeys[7], ZobristConstants[792]);
  EXPECT_EQ(BlackPawnKeys[0], uint32_t(uint64_t{0} - ZobristConstants[65]));
}

TEST_F(ZobristKeys, SideToMoveDiffersBySideKeyOnly) {
  const char* placement = "r3k2r/pp3ppp/8/3p4/8/8/PPP2PPP/R3K2R";
  const uint64_t w = KeyOf(std::string(placement) + " w KQkq -");
  const uint32_t pw = PawnKey;
  const uint64_t b = KeyOf(std::string(placement) + " b KQkq -");
  EXPECT_EQ(w ^ b, SideKey);
  EXPECT_EQ(PawnKey, pw);
}

TEST_F(ZobristKeys, EnPassantAndCastlingTerms) {
  const uint64_t none = KeyOf("4k3/8/8/3pP3/8/8/8/4K3 w - -");
  const uint64_t ep = KeyOf("4k3/8/8/4p3/8/8/8/4K3 w - e6");
  const uint64_t epNone = KeyOf("4k3/8/8/4p3/8/8/8/4K3 w - -");
  EXPECT_EQ(ep ^ epNone, EpKeys[4]);
  EXPECT_NE(none, epNone);
  const uint64_t all = KeyOf("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  const uint64_t noRights = KeyOf("r3k2r/8/8/8/8/8/8/R3K2R w - -");
  EXPECT_EQ(all ^ noRights, CastleKeys[15] ^ CastleKeys[0]);
  const uint64_t whiteShort = KeyOf("r3k2r/8/8/8/8/8/8/R3K2R w K -");
  EXPECT_EQ(whiteShort ^ noRights, CastleKeys[1] ^ CastleKeys[0]);
}

TEST_F(ZobristKeys, KeyIsTheXorOfItsTerms) {
  KeyOf("4k3/8/8/8/8/8/8/4K3 b - -");
  EXPECT_EQ(HashKey, CastleKeys[0] ^ PieceKeys[WhiteKing][4] ^ PieceKeys[BlackKing][60] ^ SideKey);
  KeyOf("4k3/8/8/8/4P3/8/8/4K3 b - e3");
  EXPECT_EQ(HashKey, CastleKeys[0] ^ PieceKeys[WhiteKing][4] ^ PieceKeys[BlackKing][60] ^
                         PieceKeys[WhitePawn][28] ^ EpKeys[4] ^ SideKey);
  EXPECT_EQ(PawnKey, WhitePawnKeys[28]);
  KeyOf("4k3/3p4/8/8/8/8/4P3/4K3 w - -");
  EXPECT_EQ(PawnKey, WhitePawnKeys[12] ^ BlackPawnKeys[51]);
}

TEST_F(ZobristKeys, PawnKeyFollowsPawnsOnly) {
  EXPECT_EQ(PawnKeyOf("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -"), 0u);
  EXPECT_EQ(PawnKeyOf("qqqqk3/8/8/8/8/8/8/QQQQK3 b - -"), 0u);
  const uint32_t a = PawnKeyOf("4k3/pp6/8/8/8/8/PP6/4K3 w - -");
  const uint32_t b = PawnKeyOf("r3k3/pp6/8/8/8/8/PP6/R3K3 b Qq -");
  EXPECT_EQ(a, b);
  EXPECT_NE(a, 0u);
  // A white and a black pawn on the same square have different keys.
  EXPECT_NE(PawnKeyOf("4k3/8/8/8/4P3/8/8/4K3 w - -"), PawnKeyOf("4k3/8/8/8/4p3/8/8/4K3 w - -"));
}

TEST_F(ZobristKeys, SecondBuildGivesIdenticalTables) {
  uint64_t pieces[13][64], castle[16], ep[8];
  uint32_t white[64], black[64];
  std::memcpy(pieces, PieceKeys, sizeof pieces);
  std::memcpy(castle, CastleKeys, sizeof castle);
  std::memcpy(ep, EpKeys, sizeof ep);
  std::memcpy(white, WhitePawnKeys, sizeof white);
  std::memcpy(black, BlackPawnKeys, sizeof black);
  const uint64_t side = SideKey;
  InitZobristKeys();
  EXPECT_EQ(std::memcmp(pieces, PieceKeys, sizeof pieces), 0);
  EXPECT_EQ(std::memcmp(castle, CastleKeys, sizeof castle), 0);
  EXPECT_EQ(std::memcmp(ep, EpKeys, sizeof ep), 0);
  EXPECT_EQ(std::memcmp(white, WhitePawnKeys, sizeof white), 0);
  EXPECT_EQ(std::memcmp(black, BlackPawnKeys, sizeof black), 0);
  EXPECT_EQ(side, SideKey);
}

}  // namespace
