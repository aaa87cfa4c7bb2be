// The transposition table: sizing, clearing, ageing, probe and store, score
// adjustment, and its two reports.
#pragma once
#include <cstdint>

// One record, 16 bytes. The table comes zero-filled from the system and is
// never written at start-up, so all-zero bytes must read as a cleared record
// (key 0, move 0, depth -127, generation 0, no bound): the depth is held
// biased by 127 and read through EntryDepth.
struct entry_t {
  int64_t key;
  uint32_t mov;
  int16_t value;
  uint8_t depth_biased;  // depth + 127, modulo 256
  uint8_t date_flags;    // generation in bits 4-7, bound kind in bits 0-1
};
static_assert(sizeof(entry_t) == 16);

constexpr int32_t ClearedDepth = -127;
constexpr int8_t EntryDepth(const entry_t& e) { return static_cast<int8_t>(static_cast<uint8_t>(e.depth_biased - 127)); }
constexpr uint8_t BiasedDepth(int8_t depth) { return static_cast<uint8_t>(depth + 127); }
constexpr uint32_t EntryGeneration(const entry_t& e) { return e.date_flags >> 4; }
constexpr uint32_t EntryBound(const entry_t& e) { return e.date_flags & 3; }

extern entry_t* HashTable;  // HashSlots records
extern int64_t HashSlots;   // a power of two plus 3
extern uint32_t HashMask;   // that power of two minus 1
extern uint32_t HashDate;   // current generation, 0..15
extern uint32_t HashAgeTable[16];
extern int64_t HashReads, HashReadHits, HashWrites, HashWriteHits, HashCollisions;
extern int64_t HashSlotsUsed, HashSlotsFilled;

// Sizes the table to the largest power of two of records that fits in
// HashSizeMB, prints the size line in the current protocol's form, clears.
void SetHashSize();
void ClearHash();
int32_t HashAge(uint32_t d);
void SetHashDate(uint32_t d);
void NextHashDate();
uint32_t HashIndex(uint64_t key);
// A value outside -32767..32767 (a band score shifted far from the root) is
// kept as a bare move hint: bound 0, value 0. A depth above 127 is kept as 127.
void StoreHash(uint64_t key, uint32_t move, int32_t depth, uint32_t flags, int32_t value);
bool ProbeHash(uint64_t key, uint32_t& move, int32_t& depth, uint32_t& flags, int32_t& value);
constexpr bool IsUpperBound(uint32_t flags) { return (flags & 1) != 0; }
constexpr bool IsLowerBound(uint32_t flags) { return (flags & 2) != 0; }
constexpr bool IsExactBound(uint32_t flags) { return flags == 3; }
int32_t ScoreToHash(int32_t score, int32_t ply);
int32_t ScoreFromHash(int32_t score, int32_t ply);
void PrintHashStats();
void PrintInfoTimeNodes();
