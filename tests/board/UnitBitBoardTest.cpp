#include "board/UnitBitBoard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "board/BoardTestSupport.h"

namespace {

bool OnBoard(int f, int r) { return f >= 0 && f < 8 && r >= 0 && r < 8; }

// Squares a slider on s reaches in direction (df, dr) over occupancy occ,
// the first occupied square included.
BitBoard Walk(int s, BitBoard occ, int df, int dr) {
  BitBoard b = 0;
  for (int f = s % 8 + df, r = s / 8 + dr; OnBoard(f, r); f += df, r += dr) {
    const BitBoard bit = BitBoard{1} << (r * 8 + f);
    b |= bit;
    if (occ & bit) break;
  }
  return b;
}

BitBoard WalkRank(int s, BitBoard occ) { return Walk(s, occ, 1, 0) | Walk(s, occ, -1, 0); }
BitBoard WalkFile(int s, BitBoard occ) { return Walk(s, occ, 0, 1) | Walk(s, occ, 0, -1); }
BitBoard WalkDiagA(int s, BitBoard occ) { return Walk(s, occ, 1, -1) | Walk(s, occ, -1, 1); }
BitBoard WalkDiagB(int s, BitBoard occ) { return Walk(s, occ, 1, 1) | Walk(s, occ, -1, -1); }

// The squares of s's line in order of their pattern bits.
std::vector<int> LineSquares(int s, int df, int dr) {
  int f = s % 8, r = s / 8;
  while (OnBoard(f - df, r - dr)) f -= df, r -= dr;
  std::vector<int> squares;
  for (; OnBoard(f, r); f += df, r += dr) squares.push_back(r * 8 + f);
  return squares;
}

// Occupancy of the line's squares from the low bits of a pattern.
BitBoard LineOccupancy(const std::vector<int>& line, uint32_t p) {
  BitBoard occ = 0;
  for (size_t k = 0; k < line.size(); k++)
    if (p & (1u << k)) occ |= BitBoard{1} << line[k];
  return occ;
}

BitBoard Rotate(BitBoard occ, const uint8_t* map) {
  BitBoard r = 0;
  for (int s = 0; s < 64; s++)
    if (occ & (BitBoard{1} << s)) r |= BitBoard{1} << map[s];
  return r;
}

class BitBoardTables : public ::testing::Test {
 protected:
  void SetUp() override { EnsureBoardTables(); }
};

TEST_F(BitBoardTables, EverySliderEntryEqualsTheWalkedRayWhateverTheSpareBitsHold) {
  for (int s = 0; s < 64; s++) {
    const auto rank = LineSquares(s, 1, 0), file = LineSquares(s, 0, 1);
    const auto diagA = LineSquares(s, 1, -1), diagB = LineSquares(s, 1, 1);
    ASSERT_EQ(diagA.size(), DiagALength[s]);
    ASSERT_EQ(diagB.size(), DiagBLength[s]);
    for (uint32_t p = 0; p < 256; p++) {
      ASSERT_EQ(RankAttacks[s][p], WalkRank(s, LineOccupancy(rank, p))) << s << " " << p;
      ASSERT_EQ(FileAttacks[s][p], WalkFile(s, LineOccupancy(file, p))) << s << " " << p;
      ASSERT_EQ(DiagAttacksA[s][p], WalkDiagA(s, LineOccupancy(diagA, p))) << s << " " << p;
      ASSERT_EQ(DiagAttacksB[s][p], WalkDiagB(s, LineOccupancy(diagB, p))) << s << " " << p;
    }
  }
}

TEST_F(BitBoardTables, LookupsThroughRotatedOccupanciesMatchWalksOnFullBoards) {
  uint64_t seed = 12345;
  auto next = [&] {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    return seed;
  };
  for (int round = 0; round < 2000; round++) {
    const BitBoard occ = next() & next();  // about a quarter of the squares
    const BitBoard fileRot = Rotate(occ, FileRotationMap);
    const BitBoard diagA = Rotate(occ, DiagARotationMap), diagB = Rotate(occ, DiagBRotationMap);
    for (int s = 0; s < 64; s++) {
      ASSERT_EQ(RankAttacks[s][(occ >> RankShift[s]) & 255], WalkRank(s, occ));
      ASSERT_EQ(FileAttacks[s][(fileRot >> FileShift[s]) & 255], WalkFile(s, occ));
      ASSERT_EQ(DiagAttacksA[s][(diagA >> DiagShiftA[s]) & 255], WalkDiagA(s, occ));
      ASSERT_EQ(DiagAttacksB[s][(diagB >> DiagShiftB[s]) & 255], WalkDiagB(s, occ));
    }
  }
}

TEST_F(BitBoardTables, SliderEdgeCases) {
  EXPECT_EQ(RankAttacks[Sq("a1")][0], Squares({"b1", "c1", "d1", "e1", "f1", "g1", "h1"}));
  EXPECT_EQ(RankAttacks[Sq("d1")][(1 << 1) | (1 << 6)], Squares({"b1", "c1", "e1", "f1", "g1"}));
  for (uint32_t p = 0; p < 256; p++) {
    EXPECT_EQ(DiagAttacksA[Sq("a1")][p], 0u);
    EXPECT_EQ(DiagAttacksA[Sq("h8")][p], 0u);
    EXPECT_EQ(DiagAttacksB[Sq("h1")][p], 0u);
    EXPECT_EQ(DiagAttacksB[Sq("a8")][p], 0u);
  }
  EXPECT_EQ(DiagAttacksA[Sq("h1")][0], Squares({"g2", "f3", "e4", "d5", "c6", "b7", "a8"}));
  for (int s = 0; s < 64; s++) {
    EXPECT_EQ(RookMask[s], WalkRank(s, 0) | WalkFile(s, 0));
    EXPECT_EQ(BishopMask[s], WalkDiagA(s, 0) | WalkDiagB(s, 0));
  }
}

TEST_F(BitBoardTables, StepAttacks) {
  for (int s = 0; s < 64; s++) {
    BitBoard king = 0, ring = 0, knight = 0;
    for (int t = 0; t < 64; t++) {
      const int df = std::abs(t % 8 - s % 8), dr = std::abs(t / 8 - s / 8);
      const BitBoard bit = BitBoard{1} << t;
      if (std::max(df, dr) == 1) king |= bit;
      if (std::max(df, dr) == 2) ring |= bit;
      if (df * dr == 2) knight |= bit;
    }
    EXPECT_EQ(KingAttacks[s], king) << s;
    EXPECT_EQ(KingRing2[s], ring) << s;
    EXPECT_EQ(KnightAttacks[s], knight) << s;
  }
}

TEST_F(BitBoardTables, PawnAttacksAndAttackersAreMirrorImages) {
  EXPECT_EQ(WhitePawnAttacks[Sq("a2")], Squares({"b3"}));
  EXPECT_EQ(WhitePawnAttacks[Sq("h2")], Squares({"g3"}));
  EXPECT_EQ(WhitePawnAttacks[Sq("e8")], 0u);
  EXPECT_EQ(BlackPawnAttacks[Sq("e1")], 0u);
  EXPECT_EQ(BlackPawnAttacks[Sq("e7")], Squares({"d6", "f6"}));
  EXPECT_EQ(WhitePawnAttackersOf[Sq("e2")], 0u);
  EXPECT_EQ(BlackPawnAttackersOf[Sq("e7")], 0u);
  EXPECT_EQ(WhitePawnAttackersOf[Sq("a3")], Squares({"b2"}));
  EXPECT_EQ(BlackPawnAttackersOf[Sq("h6")], Squares({"g7"}));
  for (int s = 0; s < 64; s++)
    for (int t = 0; t < 64; t++) {
      const BitBoard sb = BitBoard{1} << s, tb = BitBoard{1} << t;
      // A white pawn on t attacks s exactly when t is a white attacker of s,
      // except from the first rank, where no pawn stands.
      if (t >= 8) {
        EXPECT_EQ((WhitePawnAttacks[t] & sb) != 0, (WhitePawnAttackersOf[s] & tb) != 0);
      }
      if (t < 56) {
        EXPECT_EQ((BlackPawnAttacks[t] & sb) != 0, (BlackPawnAttackersOf[s] & tb) != 0);
      }
    }
}

TEST_F(BitBoardTables, RaysDirectionsAndDistances) {
  const int steps[8][2] = {{1, 0}, {-1, 1}, {0, 1}, {1, 1}, {-1, 0}, {1, -1}, {0, -1}, {-1, -1}};
  const int deltas[8] = {1, 7, 8, 9, -1, -7, -8, -9};
  BitBoard* rays[8] = {RayE, RayNW, RayN, RayNE, RayW, RaySE, RayS, RaySW};
  for (int a = 0; a < 64; a++) {
    for (int d = 0; d < 8; d++) EXPECT_EQ(rays[d][a], Walk(a, 0, steps[d][0], steps[d][1]));
    for (int b = 0; b < 64; b++) {
      int expected = 0;
      for (int d = 0; d < 8; d++)
        if (rays[d][a] & (BitBoard{1} << b)) expected = deltas[d];
      EXPECT_EQ(Direction[a][b], expected);
    }
  }
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("b2")], 1);
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("c2")], 2);
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("c3")], 3);
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("h8")], 10);
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("a1")], 0);
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("h1")], 7);
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("d5")], 5);  // sqrt 25
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("h2")], 7);  // sqrt 50 = 7.07
  EXPECT_EQ(KingDistance[Sq("a1")][Sq("h4")], 8);  // sqrt 58 = 7.62
}

TEST_F(BitBoardTables, PawnStructureMasks) {
  EXPECT_EQ(WhitePassedMask[Sq("e2")], (FileMask[3] | FileMask[4] | FileMask[5]) &
                                           ~Squares({"d1", "e1", "f1", "d2", "e2", "f2"}));
  EXPECT_EQ(WhiteFrontSpan[Sq("e2")], Squares({"e3", "e4", "e5", "e6", "e7"}));
  EXPECT_EQ(BlackFrontSpan[Sq("e7")], Squares({"e6", "e5", "e4", "e3", "e2"}));
  EXPECT_EQ(WhitePassedMask[Sq("a6")], Squares({"a7", "b7", "a8", "b8"}));
  EXPECT_EQ(BlackPassedMask[Sq("h3")], Squares({"g2", "h2", "g1", "h1"}));
  EXPECT_EQ(WhiteAdjacentAhead[Sq("a6")], Squares({"b7", "b8"}));
  EXPECT_EQ(BlackAdjacentAhead[Sq("d3")], Squares({"c2", "e2", "c1", "e1"}));
  EXPECT_EQ(AdjacentFilesMask[0], FileMask[1] & ~Squares({"b1", "b8"}));
  EXPECT_EQ(AdjacentFilesMask[4], (FileMask[3] | FileMask[5]) & ~Squares({"d1", "f1", "d8", "f8"}));
  for (int f = 0; f < 8; f++) EXPECT_EQ(FileMask[f], BitBoard{0x0101010101010101} << f);
  for (int s = 0; s < 64; s++) {
    const bool edge = s < 8 || s >= 56;
    const BitBoard masks[6] = {WhitePassedMask[s], BlackPassedMask[s], WhiteFrontSpan[s],
                               BlackFrontSpan[s], WhiteAdjacentAhead[s], BlackAdjacentAhead[s]};
    if (edge) {
      for (const BitBoard m : masks) EXPECT_EQ(m, 0u) << s;
    } else {
      EXPECT_EQ(WhitePassedMask[s] & ~FileMask[s % 8], WhiteAdjacentAhead[s]);
      EXPECT_EQ(BlackPassedMask[s] & ~FileMask[s % 8], BlackAdjacentAhead[s]);
      EXPECT_EQ(WhitePassedMask[s] & FileMask[s % 8] & ~BitBoard{0xFF00000000000000}, WhiteFrontSpan[s]);
      EXPECT_EQ(BlackPassedMask[s] & FileMask[s % 8] & ~BitBoard{0xFF}, BlackFrontSpan[s]);
    }
  }
}

TEST_F(BitBoardTables, SecondBuildGivesIdenticalTables) {
  auto copy = std::make_unique<BitBoard[]>(4 * 64 * 256);
  std::memcpy(copy.get(), RankAttacks, sizeof RankAttacks);
  std::memcpy(copy.get() + 64 * 256, FileAttacks, sizeof FileAttacks);
  std::memcpy(copy.get() + 2 * 64 * 256, DiagAttacksA, sizeof DiagAttacksA);
  std::memcpy(copy.get() + 3 * 64 * 256, DiagAttacksB, sizeof DiagAttacksB);
  int32_t direction[64][64], distance[64][64];
  std::memcpy(direction, Direction, sizeof Direction);
  std::memcpy(distance, KingDistance, sizeof KingDistance);
  BitBoard passed[64], ring[64];
  std::memcpy(passed, WhitePassedMask, sizeof passed);
  std::memcpy(ring, KingRing2, sizeof ring);
  InitBitBoards();
  EXPECT_EQ(std::memcmp(copy.get(), RankAttacks, sizeof RankAttacks), 0);
  EXPECT_EQ(std::memcmp(copy.get() + 64 * 256, FileAttacks, sizeof FileAttacks), 0);
  EXPECT_EQ(std::memcmp(copy.get() + 2 * 64 * 256, DiagAttacksA, sizeof DiagAttacksA), 0);
  EXPECT_EQ(std::memcmp(copy.get() + 3 * 64 * 256, DiagAttacksB, sizeof DiagAttacksB), 0);
  EXPECT_EQ(std::memcmp(direction, Direction, sizeof Direction), 0);
  EXPECT_EQ(std::memcmp(distance, KingDistance, sizeof KingDistance), 0);
  EXPECT_EQ(std::memcmp(passed, WhitePassedMask, sizeof passed), 0);
  EXPECT_EQ(std::memcmp(ring, KingRing2, sizeof ring), 0);
}

TEST(BitHelpers, ScansAndCount) {
  EXPECT_EQ(BitScanForward(1), 0);
  EXPECT_EQ(BitScanReverse(1), 0);
  EXPECT_EQ(BitScanForward(BitBoard{1} << 63), 63);
  EXPECT_EQ(BitScanReverse(~BitBoard{0}), 63);
  EXPECT_EQ(BitScanForward(0x0000'0100'0000'8000ull), 15);
  EXPECT_EQ(BitScanReverse(0x0000'0100'0000'8000ull), 40);
  EXPECT_EQ(PopCount(0), 0);
  EXPECT_EQ(PopCount(~BitBoard{0}), 64);
  EXPECT_EQ(PopCount(0x8000'0000'0000'0001ull), 2);
}

}  // namespace
