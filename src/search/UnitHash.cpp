// The transposition table.
#include "search/UnitHash.h"

int64_t HashSlots = 0;
uint32_t HashMask = 0;
uint32_t HashDate = 0;
int64_t HashReads = 0, HashReadHits = 0, HashWrites = 0, HashWriteHits = 0, HashCollisions = 0;
int64_t HashSlotsUsed = 0, HashSlotsFilled = 0;

void SetHashSize() {}
void ClearHash() {}
int32_t HashAge(uint32_t) { return 0; }
void SetHashDate(uint32_t d) { HashDate = d; }
void NextHashDate() { SetHashDate((HashDate + 1) % 16); }
uint32_t HashIndex(uint64_t key) { return static_cast<uint32_t>(key) & HashMask; }
void StoreHash(uint64_t, uint32_t, int32_t, uint32_t, int32_t) {}
bool ProbeHash(uint64_t, uint32_t&, int32_t&, uint32_t&, int32_t&) { return false; }
int32_t ScoreToHash(int32_t score, int32_t) { return score; }
int32_t ScoreFromHash(int32_t score, int32_t) { return score; }
void PrintHashStats() {}
void PrintInfoTimeNodes() {}
