// The transposition table: sizes and their lines, the store and replacement
// rules, probes, score bands, and the two reports.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "board/BoardTestSupport.h"
#include "eval/UnitEval.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "search/Clock.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

namespace {

// Keys that share one bucket: equal low 32 bits.
constexpr uint64_t BucketLow = 0x1000;
uint64_t Key(uint64_t n) { return (n << 32) | BucketLow; }

struct Probed {
  bool Found;
  uint32_t Move, Flags;
  int32_t Depth, Value;
};

Probed Probe(uint64_t key) {
  Probed p{};
  p.Found = ProbeHash(key, p.Move, p.Depth, p.Flags, p.Value);
  return p;
}

void FreshTable() {
  HashSizeMB = 16;
  ProtocolMode = 0;
  CaptureStdout(SetHashSize);
}

const entry_t& Record(int j) { return HashTable[BucketLow + j]; }

}  // namespace

TEST(HashSize, LineInEachProtocolForm) {
  struct Case {
    int32_t MB;
    const char* Line;
  } cases[] = {{16, "size=16MB slots=1,048,579"},
               {64, "size=64MB slots=4,194,307"},
               {100, "size=64MB slots=4,194,307"},
               {256, "size=256MB slots=16,777,219"},
               {512, "size=512MB slots=33,554,435"}};
  const std::string prefixes[] = {"HASH: ", "info string HASH: ", "# HASH: "};
  const std::string ends[] = {"\r\n\r\n", "\r\n", "\r\n"};
  for (const Case& c : cases) {
    for (int32_t mode = 0; mode < 3; mode++) {
      HashSizeMB = c.MB;
      ProtocolMode = mode;
      EXPECT_EQ(CaptureStdout(SetHashSize), prefixes[mode] + c.Line + ends[mode]);
      EXPECT_EQ(HashMask, static_cast<uint64_t>(HashSlots - 4));
    }
  }
  ProtocolMode = 0;
}

TEST(HashClear, ZeroBytesAreTheClearedRecordAndWrittenRecordsGoBack) {
  FreshTable();
  const entry_t zero{};
  EXPECT_EQ(EntryDepth(zero), -127);
  StoreHash(Key(1), 5, 3, 3, 10);
  NextHashDate();
  StoreHash(Key(2), 6, 4, 3, 10);
  EXPECT_EQ(HashSlotsFilled, 1);
  ClearHash();
  EXPECT_EQ(HashDate, 0u);
  EXPECT_EQ(HashSlotsFilled, 0);
  for (int j = 0; j < 4; j++) {
    EXPECT_EQ(Record(j).key, 0);
    EXPECT_EQ(Record(j).mov, 0u);
    EXPECT_EQ(EntryDepth(Record(j)), -127);
    EXPECT_EQ(Record(j).date_flags, 0);
  }
  EXPECT_FALSE(Probe(Key(1)).Found);
}

TEST(HashStore, FirstStoreAfterAClearAndANewGeneration) {
  FreshTable();
  NextHashDate();
  StoreHash(Key(1), 77, 4, 3, -29990);
  EXPECT_EQ(Record(0).key, static_cast<int64_t>(Key(1)));
  EXPECT_EQ(HashSlotsUsed, 1);
  EXPECT_EQ(HashSlotsFilled, 1);
  EXPECT_EQ(HashCollisions, 0);
  Probed p = Probe(Key(1));
  EXPECT_TRUE(p.Found);
  EXPECT_EQ(p.Move, 77u);
  EXPECT_EQ(p.Depth, 4);
  EXPECT_EQ(p.Flags, 3u);
  EXPECT_EQ(p.Value, -29990);
  EXPECT_FALSE(Probe(Key(9)).Found);
  EXPECT_EQ(HashReads, 2);
  EXPECT_EQ(HashReadHits, 1);
}

TEST(HashStore, KeyAlreadyPresent) {
  // Each case: first store, second store of the same key, what a probe gives.
  struct Case {
    uint32_t Move1;
    int32_t Depth1, Flags1, Value1;
    uint32_t Move2;
    int32_t Depth2, Flags2, Value2;
    uint32_t Move;
    int32_t Depth, Flags, Value;
  } cases[] = {
      {0, 5, 2, 100, 88, 3, 3, -20, 88, 5, 2, 100},   // deeper kept, missing move filled
      {44, 5, 2, 100, 88, 3, 3, -20, 44, 5, 2, 100},  // deeper kept with its move
      {55, 2, 1, 10, 0, 6, 3, 30, 55, 6, 3, 30},      // move 0 keeps the old move
      {55, 2, 1, 10, 66, 2, 2, -3, 66, 2, 2, -3},     // equal depth replaces
  };
  for (const Case& c : cases) {
    FreshTable();
    StoreHash(Key(1), c.Move1, c.Depth1, c.Flags1, c.Value1);
    NextHashDate();
    StoreHash(Key(1), c.Move2, c.Depth2, c.Flags2, c.Value2);
    Probed p = Probe(Key(1));
    EXPECT_EQ(p.Move, c.Move);
    EXPECT_EQ(p.Depth, c.Depth);
    EXPECT_EQ(p.Flags, static_cast<uint32_t>(c.Flags));
    EXPECT_EQ(p.Value, c.Value);
    EXPECT_EQ(EntryGeneration(Record(0)), 1u);
    EXPECT_EQ(HashWriteHits, 1);
    EXPECT_EQ(HashSlotsUsed, 1);
  }
}

TEST(HashStore, ReplacementTakesTheShallowestThenTheFewestBoundBits) {
  FreshTable();
  NextHashDate();
  const int32_t depths[] = {5, 3, 3, 6}, flags[] = {3, 2, 1, 3};
  for (int j = 0; j < 4; j++) StoreHash(Key(j + 1), 1, depths[j], flags[j], 0);
  StoreHash(Key(9), 1, 9, 3, 0);
  EXPECT_EQ(Record(2).key, static_cast<int64_t>(Key(9)));
  EXPECT_EQ(HashCollisions, 1);
  EXPECT_EQ(HashSlotsUsed, 4);
}

TEST(HashStore, OlderGenerationGoesFirstAcrossTheWrap) {
  // At generation 0 a record of generation 15 is one generation old; counted
  // in unsigned arithmetic the current records would look far older.
  FreshTable();
  for (int j = 0; j < 3; j++) StoreHash(Key(j + 1), 1, 1, 3, 0);
  SetHashDate(15);
  StoreHash(Key(4), 1, 20, 3, 0);
  EXPECT_EQ(Record(3).key, static_cast<int64_t>(Key(4)));
  SetHashDate(0);
  StoreHash(Key(5), 1, 1, 3, 0);
  EXPECT_EQ(Record(3).key, static_cast<int64_t>(Key(5)));
  EXPECT_EQ(HashSlotsUsed, 1);
  EXPECT_EQ(HashAge(15), 1);
  SetHashDate(3);
  EXPECT_EQ(HashAge(5), 14);
}

TEST(HashStore, OutOfRangeValueBecomesAHintAndDepthStopsAt127) {
  struct Case {
    int32_t Depth, Flags, Value, StoredDepth, StoredFlags, StoredValue;
  } cases[] = {{4, 3, 32767, 4, 3, 32767},  {4, 3, -32767, 4, 3, -32767}, {4, 2, 32768, 4, 0, 0},
               {4, 1, -32768, 4, 0, 0},     {4, 3, -40000, 4, 0, 0},      {200, 3, 7, 127, 3, 7},
               {-3, 3, -5, -3, 3, -5}};
  for (const Case& c : cases) {
    FreshTable();
    StoreHash(Key(1), 99, c.Depth, c.Flags, c.Value);
    Probed p = Probe(Key(1));
    EXPECT_EQ(p.Move, 99u);
    EXPECT_EQ(p.Depth, c.StoredDepth);
    EXPECT_EQ(p.Flags, static_cast<uint32_t>(c.StoredFlags));
    EXPECT_EQ(p.Value, c.StoredValue);
  }
}

TEST(HashScore, Bands) {
  // Score, ply, what ScoreToHash gives, and what ScoreFromHash gives for the
  // same two numbers.
  struct Case {
    int32_t Score, Ply, To, From;
  } cases[] = {{-29990, 10, -30000, -29980}, {-30000, 10, -30010, -29990}, {29990, 10, 30000, 29980},
               {3000, 2, 3080, 2920},        {-3000, 2, -3080, -2920},     {2750, 9, 2750, 2750},
               {-2750, 9, -2750, -2750},     {29744, 9, 29744, 29744},     {-29744, 9, -29744, -29744},
               {29700, 2, 29780, 29620},     {29780, 2, 29782, 29778}};
  for (const Case& c : cases) {
    EXPECT_EQ(ScoreToHash(c.Score, c.Ply), c.To) << c.Score;
    EXPECT_EQ(ScoreFromHash(c.Score, c.Ply), c.From) << c.Score;
  }
}

TEST(HashReports, StatsBox) {
  const std::string rule(34, '\xC4');
  const std::string title = std::string(6, '\xC4') + " HASH STATS " + std::string(15, '\xC4') + "\r\n";
  FreshTable();
  EvalCount = 1234567;
  PawnWrites = 5;
  PawnHits = 4;
  MaterWrites = 3;
  MaterHits = 2;
  HashReads = 8;
  HashReadHits = 3;
  HashWrites = 40;
  HashWriteHits = 1;
  HashCollisions = 3;
  HashSlotsUsed = 77;
  HashSlotsFilled = 1048579;
  EXPECT_EQ(CaptureStdout(PrintHashStats), "\r\n" + title +
                                               "      Reads: 8\r\n"
                                               "  Read hits: 3 (38%)\r\n"
                                               "     Writes: 40\r\n"
                                               " Write hits: 1 (2%)\r\n"
                                               " Collisions: 3 (8%)\r\n"
                                               " Slots used: 77 (0%)\r\n"
                                               "Total slots: 1,048,579 (100%)\r\n" +
                                               rule + "\r\n      Evals: 1,234,567\r\n" + rule +
                                               "\r\n Pawnwrites: 5\r\n   Pawnhits: 4\r\nMaterwrites: 3\r\n"
                                               "  Materhits: 2\r\n" +
                                               rule + "\r\n");
  ClearHash();
  const std::string box = CaptureStdout(PrintHashStats);
  EXPECT_NE(box.find("\r\n  Read hits: 0\r\n     Writes: 0\r\n Write hits: 0\r\n Collisions: 0\r\n"
                     " Slots used: 0 (0%)\r\nTotal slots: 0 (0%)\r\n"),
            std::string::npos)
      << box;
}

TEST(HashReports, InfoTimeLine) {
  FreshTable();
  Nodes = 5000000;
  HashSlotsUsed = 1000;  // of 1,048,579
  // A start a minute ahead reads as no time yet: 0 ms.
  StartTimer();
  SteadyStartMs += 60000;
  EXPECT_EQ(CaptureStdout(PrintInfoTimeNodes), "info time 0 nodes 5000000 nps 999999 hashfull 1\r\n");
  // Eleven hours after the start.
  StartTimer();
  SteadyStartMs -= 11 * 3600000;
  const std::string line = CaptureStdout(PrintInfoTimeNodes);
  long long ms = 0;
  int nps = 0;
  ASSERT_EQ(std::sscanf(line.c_str(), "info time %lld nodes 5000000 nps %d hashfull 1\r\n", &ms, &nps), 2) << line;
  EXPECT_EQ(nps, static_cast<int>(Round(5e9 / static_cast<double>(ms))));
}
