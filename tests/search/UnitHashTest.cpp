// The transposition table: sizes and their lines, the store and replacement
// rules, probes, score bands, and the two reports.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <tuple>

#include "board/BoardTestSupport.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "frontend/StartUp.h"
#include "search/Clock.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"
#include "support/BoxText.h"

namespace {

// Keys that share one bucket: equal low 32 bits.
constexpr uint64_t BucketLow = 0x1000;
uint64_t Key(uint64_t n) { return (n << 32) | BucketLow; }

// Move, depth, flags, value: a record as stored and as a probe gives it back.
using Fields = std::tuple<uint32_t, int32_t, uint32_t, int32_t>;
using Probed = std::tuple<bool, uint32_t, int32_t, uint32_t, int32_t>;  // found first

void Store(uint64_t key, const Fields& f) { std::apply([key](auto... v) { StoreHash(key, v...); }, f); }
Probed Found(const Fields& f) { return std::tuple_cat(std::tuple(true), f); }
Probed Probe(uint64_t key) {
  Probed p{};
  std::get<0>(p) = ProbeHash(key, std::get<1>(p), std::get<2>(p), std::get<3>(p), std::get<4>(p));
  return p;
}

void FreshTable() {
  HashSizeMB = 16;
  ProtocolMode = ConsoleProtocol;
  CaptureStdout(SetHashSize);
}

const entry_t& Record(int j) { return HashTable[BucketLow + j]; }

}  // namespace

TEST(HashSize, LineInEachProtocolForm) {
  const std::pair<int32_t, const char*> sizes[] = {
      {16, "size=16MB slots=1,048,579"},    {64, "size=64MB slots=4,194,307"}, {100, "size=64MB slots=4,194,307"},
      {256, "size=256MB slots=16,777,219"}, {512, "size=512MB slots=33,554,435"}};
  const std::pair<const char*, const char*> forms[] = {
      {"HASH: ", "\r\n\r\n"}, {"info string HASH: ", "\r\n"}, {"# HASH: ", "\r\n"}};
  for (const auto& [mb, line] : sizes)
    for (ProtocolMode = ConsoleProtocol; ProtocolMode <= XboardProtocol; ProtocolMode++) {
      HashSizeMB = mb;
      const auto& [prefix, end] = forms[ProtocolMode];
      EXPECT_EQ(CaptureStdout(SetHashSize), prefix + std::string(line) + end);
      EXPECT_EQ(HashMask, static_cast<uint64_t>(HashSlots - 4));
    }
  ProtocolMode = ConsoleProtocol;
}

TEST(HashClear, ZeroBytesAreTheClearedRecordAndWrittenRecordsGoBack) {
  FreshTable();
  const entry_t zero{};
  EXPECT_EQ(EntryDepth(zero), -127);
  StoreHash(Key(1), 5, 3, 3, 10);
  NextHashDate();
  StoreHash(Key(2), 6, 4, 3, 10);
  EXPECT_EQ(HashSlotsFilled, 1);
  HashReads = HashReadHits = HashWrites = HashWriteHits = HashCollisions = 1;
  ClearHash();
  EXPECT_EQ(HashDate, 0u);
  for (int64_t counter : {HashSlotsFilled, HashSlotsUsed, HashReads, HashReadHits, HashWrites, HashWriteHits,
                          HashCollisions})
    EXPECT_EQ(counter, 0);
  for (int j = 0; j < 4; j++) EXPECT_EQ(std::memcmp(&Record(j), &zero, sizeof zero), 0) << j;
  EXPECT_FALSE(std::get<0>(Probe(Key(1))));
}

TEST(HashStore, FirstStoreAfterAClearAndANewGeneration) {
  FreshTable();
  NextHashDate();
  StoreHash(Key(1), 77, 4, 3, -29990);
  EXPECT_EQ(Record(0).key, static_cast<int64_t>(Key(1)));
  EXPECT_TRUE(HashSlotsUsed == 1 && HashSlotsFilled == 1 && HashCollisions == 0);
  EXPECT_EQ(Probe(Key(1)), Found({77, 4, 3, -29990}));
  EXPECT_FALSE(std::get<0>(Probe(Key(9))));
  EXPECT_TRUE(HashReads == 2 && HashReadHits == 1);
}

TEST(HashStore, KeyAlreadyPresent) {
  // First store, second store of the same key, what a probe gives.
  const Fields cases[][3] = {
      {{0, 5, 2, 100}, {88, 3, 3, -20}, {88, 5, 2, 100}},   // deeper kept, missing move filled
      {{44, 5, 2, 100}, {88, 3, 3, -20}, {44, 5, 2, 100}},  // deeper kept with its move
      {{55, 2, 1, 10}, {0, 6, 3, 30}, {55, 6, 3, 30}},      // move 0 keeps the old move
      {{55, 2, 1, 10}, {66, 2, 2, -3}, {66, 2, 2, -3}},     // equal depth replaces
  };
  for (const auto& [first, second, kept] : cases) {
    FreshTable();
    Store(Key(1), first);
    NextHashDate();
    Store(Key(1), second);
    EXPECT_EQ(Probe(Key(1)), Found(kept));
    EXPECT_EQ(EntryGeneration(Record(0)), 1u);
    EXPECT_TRUE(HashWriteHits == 1 && HashSlotsUsed == 1);
  }
}

TEST(HashStore, ReplacementTakesTheShallowestThenTheFewestBoundBits) {
  FreshTable();
  NextHashDate();
  const int32_t depths[] = {5, 3, 3, 6}, flags[] = {3, 2, 1, 3};
  for (int j = 0; j < 4; j++) StoreHash(Key(j + 1), 1, depths[j], flags[j], 0);
  StoreHash(Key(9), 1, 9, 3, 0);
  EXPECT_EQ(Record(2).key, static_cast<int64_t>(Key(9)));
  EXPECT_TRUE(HashCollisions == 1 && HashSlotsUsed == 4);
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
  const Fields cases[][2] = {{{99, 4, 3, 32767}, {99, 4, 3, 32767}}, {{99, 4, 3, -32767}, {99, 4, 3, -32767}},
                             {{99, 4, 2, 32768}, {99, 4, 0, 0}},     {{99, 4, 1, -32768}, {99, 4, 0, 0}},
                             {{99, 4, 3, -40000}, {99, 4, 0, 0}},    {{99, 200, 3, 7}, {99, 127, 3, 7}},
                             {{99, -3, 3, -5}, {99, -3, 3, -5}}};
  for (const auto& [stored, probed] : cases) {
    FreshTable();
    Store(Key(1), stored);
    EXPECT_EQ(Probe(Key(1)), Found(probed));
  }
}

TEST(HashScore, Bands) {
  // Score, ply, what ScoreToHash gives, and what ScoreFromHash gives for the
  // same two numbers.
  const int32_t cases[][4] = {{-29990, 10, -30000, -29980}, {-30000, 10, -30010, -29990}, {29990, 10, 30000, 29980},
                              {3000, 2, 3080, 2920},        {-3000, 2, -3080, -2920},     {2750, 9, 2750, 2750},
                              {-2750, 9, -2750, -2750},     {29744, 9, 29744, 29744},     {-29744, 9, -29744, -29744},
                              {29700, 2, 29780, 29620},     {29780, 2, 29782, 29778}};
  for (const auto& [score, ply, to, from] : cases) {
    EXPECT_EQ(ScoreToHash(score, ply), to) << score;
    EXPECT_EQ(ScoreFromHash(score, ply), from) << score;
  }
}

TEST(HashReports, StatsBox) {
  FreshTable();
  EvalCount = 1234567;
  PawnWrites = 5, PawnHits = 4, MaterWrites = 3, MaterHits = 2;
  HashReads = 8, HashReadHits = 3, HashWrites = 40, HashWriteHits = 1, HashCollisions = 3;
  HashSlotsUsed = 77, HashSlotsFilled = 1048579;
  EXPECT_EQ(CaptureStdout(PrintHashStats), HashStatsBox({"8", "3 (38%)", "40", "1 (2%)", "3 (8%)", "77 (0%)",
                                                         "1,048,579 (100%)", "1,234,567", "5", "4", "3", "2"}));
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
