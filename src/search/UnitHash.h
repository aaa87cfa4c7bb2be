// The transposition table: sizing, clearing, ageing, probe and store, score
// adjustment, and its two reports.
#pragma once
#include <cstdint>

extern int64_t HashSlots;
extern uint32_t HashMask;
extern uint32_t HashDate;
extern int64_t HashReads, HashReadHits, HashWrites, HashWriteHits, HashCollisions;
extern int64_t HashSlotsUsed, HashSlotsFilled;

void SetHashSize();
void ClearHash();
int32_t HashAge(uint32_t d);
void SetHashDate(uint32_t d);
void NextHashDate();
uint32_t HashIndex(uint64_t key);
void StoreHash(uint64_t key, uint32_t move, int32_t depth, uint32_t flags, int32_t value);
bool ProbeHash(uint64_t key, uint32_t& move, int32_t& depth, uint32_t& flags, int32_t& value);
constexpr bool IsUpperBound(uint32_t flags) { return (flags & 1) != 0; }
constexpr bool IsLowerBound(uint32_t flags) { return (flags & 2) != 0; }
constexpr bool IsExactBound(uint32_t flags) { return flags == 3; }
int32_t ScoreToHash(int32_t score, int32_t ply);
int32_t ScoreFromHash(int32_t score, int32_t ply);
void PrintHashStats();
void PrintInfoTimeNodes();
