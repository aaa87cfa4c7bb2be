#include <gtest/gtest.h>

#include <string>

#include "board/BoardTestSupport.h"
#include "eval/UnitEval.h"

namespace {

void Position(const std::string& fen) { ASSERT_EQ(SetUpOutput(fen), "") << fen; }

TEST(AdvancedPawns, TableEntries) {
  EnsureBoardTables();
  const uint32_t cases[][2] = {
      {0, 0},        {0x0100, 180},  // a7
      {0x0800, 220}, {0x1800, 900},  // d7; d7 and e7
      {0x8100, 800},                 // a7 and h7
      {0x1004, 300}, {0x1010, 240},  // c6 or e6 with e7
      {0x0114, 500},                 // c6, e6, a7
      {0x0007, 500}, {0xFFFF, 8880},
  };
  for (const auto& [index, value] : cases) EXPECT_EQ(AdvancedPawnTable[index], value) << std::hex << index;
  EXPECT_EQ(WhiteAdvancedPawnIndex(Squares({"d7", "e7"})), 0x1800u);
  EXPECT_EQ(BlackAdvancedPawnIndex(Squares({"d2", "e2"})), 0x1800u);
  EXPECT_EQ(BlackAdvancedPawnIndex(Squares({"c3", "a2"})), 0x0104u);
}

TEST(KingSafety, ShelterRankCastlingAndAttacks) {
  EnsureBoardTables();
  const BitBoard zoneOfG1 = Squares({"f1", "f2", "h1"});
  const struct {
    const char* fen;
    bool white;
    BitBoard attacked;
    int32_t safety;
  } cases[] = {
      {"3q2k1/8/8/8/8/8/5PPP/6K1 w - - 0 1", true, 0, 0},
      {"3q2k1/8/8/8/8/6P1/5P1P/6K1 w - - 0 1", true, 0, -5},
      {"3q2k1/8/8/8/8/8/8/6K1 w - - 0 1", true, 0, -90},
      {"3qk3/8/8/8/8/8/5PPP/4K2R w K - 0 1", true, 0, 0},  // castling shelter
      {"3q2k1/8/8/8/3PPP2/4K3/8/8 w - - 0 1", true, 0, -40},
      // rank 8 counts rank 1 as near and rank 2 as far
      {"6K1/8/8/8/8/8/5PPP/k2q4 w - - 0 1", true, 0, -310},
      {"3q2k1/8/8/8/8/8/5PPP/6K1 w - - 0 1", true, zoneOfG1, -15},
      {"3q2k1/8/8/8/4K3/8/8/8 w - - 0 1", true, KingAttacks[Sq("e4")], -150 - 400},
      {"3q2k1/8/8/8/4K3/8/8/8 w - - 0 1", true, KingRing2[Sq("e4")], -150 - 300},
      {"3r2k1/8/8/8/4K3/8/8/8 w - - 0 1", true, ~BitBoard{0}, 0},  // no enemy queen
      {"6k1/5p1p/6p1/8/8/8/8/3Q2K1 w - - 0 1", false, 0, -5},
      {"K2Q4/5ppp/8/8/8/8/8/6k1 w - - 0 1", false, 0, -310},
      {"r3k3/ppp5/8/8/8/8/8/3QK3 w q - 0 1", false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fen);
    Position(c.fen);
    WhiteAttackSet = BlackAttackSet = c.attacked;
    EXPECT_EQ(c.white ? WhiteKingSafety() : BlackKingSafety(), c.safety);
  }
}

TEST(Damping, FiftyMoveCounter) {
  const int32_t cases[][3] = {
      // score, clock, damped score
      {257, 70, 257}, {257, 71, 257}, {257, 90, 94}, {257, 100, 9}, {-257, 100, -9},
      {257, 101, 0},  {257, 104, 0},  {257, 999, 0}, {1, 86, 0},    {3, 86, 2},
  };
  for (const auto& [score, clock, damped] : cases) EXPECT_EQ(DampedScore(score, clock), damped) << clock;
}

TEST(PieceTerms, TermsAtAGivenWeight) {
  const struct {
    const char* fen;
    uint8_t w;
    int32_t EvalTerms::*term;
    int32_t value;
  } cases[] = {
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 0, &EvalTerms::Various, 10},  // open file
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 255, &EvalTerms::Various, 20},
      {"4k3/4p3/4N3/8/8/8/8/4K3 w - - 0 1", 0, &EvalTerms::Various, 70 + 50},
      {"4k3/4p3/4N3/8/8/8/8/4K3 w - - 0 1", 128, &EvalTerms::Various, 70 + 25},
      {"4k3/4p3/4N3/8/8/8/8/4K3 w - - 0 1", 255, &EvalTerms::Various, 70},
      {"4k3/8/8/8/8/4n3/4P3/4K3 w - - 0 1", 0, &EvalTerms::Various, -70},  // no blockade
      {"4k3/B1p5/1p6/8/8/8/8/4K3 w - - 0 1", 0, &EvalTerms::Various, -175},
      {"k7/8/8/8/3Q4/8/7K/8 w - - 0 1", 0, &EvalTerms::Mobility, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fen);
    Position(c.fen);
    EvalTerms t;
    WhiteAttackSet = BlackAttackSet = 0;
    AddPieceTerms(c.w, t);
    EXPECT_EQ(t.*c.term, c.value);
  }
}

TEST(PawnTerm, ThreatsCountAndSeedTheAttackSets) {
  int32_t attacking, free;
  uint64_t whiteSeed, blackSeed;
  Position("4k3/8/8/8/8/8/3P4/4K3 w - - 0 1");
  PawnStructure(100, free, whiteSeed, blackSeed);
  Position("4k3/8/8/8/8/2n1n3/3P4/4K3 w - - 0 1");
  PawnStructure(100, attacking, whiteSeed, blackSeed);
  EXPECT_EQ(attacking - free, 64);
  EXPECT_EQ(whiteSeed, Squares({"c3", "e3"}));
  EXPECT_EQ(blackSeed, 0u);
  Position("8/8/8/8/8/3k4/2P1P3/4K3 b - - 0 1");  // the king counts as a target
  PawnStructure(100, attacking, whiteSeed, blackSeed);
  EXPECT_EQ(whiteSeed, Squares({"d3"}));
}

TEST(Evaluate, TheClockDampsAllButARecognisedEnding) {
  for (const auto& [fen, score] : {std::pair{"r7/5k2/8/3PP3/8/8/5K2/R7 w - - 0 1", 94},
                                   std::pair{"4k3/8/8/8/8/8/8/3QK3 b - - 0 1", -(10000 - 2)}}) {
    Position(fen);
    HalfmoveClock = 90;
    EXPECT_EQ(Evaluate(false), score) << fen;
  }
}

TEST(Evaluate, SecondCallHitsBothCaches) {
  for (const char* fen :
       {"r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", "4k3/8/8/8/8/8/8/3QK3 w - - 0 1"}) {
    Position(fen);
    const int32_t first = Evaluate(false);
    const uint32_t materHits = MaterHits, pawnHits = PawnHits, writes = PawnWrites, count = EvalCount;
    EXPECT_EQ(Evaluate(false), first) << fen;
    // The recognised ending (no pawns) never asks the pawn cache.
    EXPECT_EQ(PawnHits, pawnHits + (PawnKey != 0 ? 1 : 0)) << fen;
    EXPECT_TRUE(MaterHits == materHits + 1 && PawnWrites == writes && EvalCount == count + 1) << fen;
  }
}

TEST(PawnCache, ClearRewritesWhatWasStored) {
  Position("4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1");
  StorePawnCache(123, 1, 2);
  const PawnCacheEntry& e = PawnCache[PawnKey & PawnCacheMask];
  EXPECT_EQ(e.Key, PawnKey);
  ClearPawnCache();
  EXPECT_EQ(e.Score, 0);
  EXPECT_EQ(e.Key, 0u);
  EXPECT_EQ(e.WhiteSeed | e.BlackSeed, 0u);
  EXPECT_EQ(PawnWrites, 0u);
  // A cleared entry holds key 0: a position without pawns hits it.
  Position("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
  int32_t score = 1;
  uint64_t whiteSeed = 1, blackSeed = 1;
  EXPECT_TRUE(ProbePawnCache(score, whiteSeed, blackSeed));
  EXPECT_EQ(score, 0);
  EXPECT_EQ(whiteSeed | blackSeed, 0u);
  EXPECT_EQ(PawnHits, 1u);
}

}  // namespace
