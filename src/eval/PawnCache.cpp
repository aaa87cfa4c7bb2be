// The pawn cache and the advanced-pawn table.
#include <cstdlib>

#include "board/Position.h"
#include "eval/UnitEval.h"

// Both arrays are zero-initialised statics: the system hands out their pages
// zero-filled on first touch, so start-up neither loops over them nor makes
// them resident.
PawnCacheEntry PawnCache[PawnCacheSize];
uint32_t PawnCacheMask = PawnCacheSize - 1;
uint32_t PawnWrites = 0, PawnHits = 0;
uint32_t AdvancedPawnTable[65536];

namespace {

// Every slot that is not all zeros is listed here, so a clear (run at every
// set-up) rewrites only what was stored since the last one. A slot goes on
// the list when a store finds it zero; it can come back only after an
// all-zero entry (no pawns, key 0) was stored over it, so the list all but
// never runs full, and if it does the next clear rewrites the whole cache.
uint32_t StoredSlots[PawnCacheSize];
uint32_t StoredSlotCount = 0;
bool StoredSlotsOverflowed = false;

bool IsZero(const PawnCacheEntry& e) {
  return (e.Score | e.Key) == 0 && (e.WhiteSeed | e.BlackSeed) == 0;
}

// Bonus tables by file, by file distance of two pawns, or by count; the
// count and pair tables start at 1, so entry 0 is never read.
constexpr int32_t AdvPawn7thFile[8] = {180, 260, 240, 220, 220, 240, 260, 180};
constexpr int32_t AdvPawn7thPairDistance[8] = {0, 900, 300, 400, 500, 600, 700, 800};
constexpr int32_t AdvPawn7thCount[9] = {0, 400, 750, 900, 1200, 1800, 2400, 3600, 5400};
constexpr int32_t AdvPawn6thFile[8] = {80, 90, 80, 70, 70, 80, 90, 80};
constexpr int32_t AdvPawn6thPairDistance[8] = {0, 650, 200, 200, 200, 250, 300, 300};
constexpr int32_t AdvPawn6thCount[9] = {0, 80, 300, 500, 750, 1000, 1500, 2000, 3000};
constexpr int32_t AdvPawnMixedDistance[8] = {240, 750, 300, 300, 300, 350, 400, 450};

int Span(uint32_t files) { return BitScanReverse(files) - BitScanForward(files); }

// A: files with a pawn on the sixth rank, B: on the seventh.
int32_t AdvancedPawnBonus(uint32_t a, uint32_t b) {
  const int nA = PopCount(a), nB = PopCount(b);
  if (nA == 0 && nB == 0) return 0;
  if (nA == 0) {
    if (nB == 1) return AdvPawn7thFile[BitScanReverse(b)];
    return nB == 2 ? AdvPawn7thPairDistance[Span(b)] : AdvPawn7thCount[nB];
  }
  if (nB == 0) {
    if (nA == 1) return AdvPawn6thFile[BitScanReverse(a)];
    return nA == 2 ? AdvPawn6thPairDistance[Span(a)] : AdvPawn6thCount[nA];
  }
  if (nA == 1 && nB == 1) return AdvPawnMixedDistance[std::abs(BitScanReverse(a) - BitScanForward(b))];
  if (nA == 1 && nB == 2) return AdvPawn6thFile[BitScanReverse(a)] + AdvPawn7thPairDistance[Span(b)] + 180;
  if (nA == 2 && nB == 1) return AdvPawn6thPairDistance[Span(a)] + AdvPawn7thFile[BitScanReverse(b)] + 120;
  if (nA == 2 && nB == 2) return AdvPawn6thPairDistance[Span(a)] + AdvPawn7thPairDistance[Span(b)] + 300;
  return AdvPawn7thCount[nB] + AdvPawn6thCount[nA] + 480;
}

}  // namespace

void ClearPawnCache() {
  if (StoredSlotsOverflowed)
    for (PawnCacheEntry& e : PawnCache) e = {};
  else
    for (uint32_t i = 0; i < StoredSlotCount; ++i) PawnCache[StoredSlots[i]] = {};
  StoredSlotCount = 0;
  StoredSlotsOverflowed = false;
  PawnCacheMask = PawnCacheSize - 1;
  PawnWrites = 0;
  PawnHits = 0;
}

void StorePawnCache(int32_t score, uint64_t whiteSeed, uint64_t blackSeed) {
  ++PawnWrites;
  const uint32_t slot = PawnKey & PawnCacheMask;
  PawnCacheEntry& e = PawnCache[slot];
  if (IsZero(e)) {
    if (StoredSlotCount < PawnCacheSize)
      StoredSlots[StoredSlotCount++] = slot;
    else
      StoredSlotsOverflowed = true;
  }
  e = {score, PawnKey, whiteSeed, blackSeed};
}

bool ProbePawnCache(int32_t& score, uint64_t& whiteSeed, uint64_t& blackSeed) {
  const PawnCacheEntry& e = PawnCache[PawnKey & PawnCacheMask];
  if (e.Key != PawnKey) return false;
  ++PawnHits;
  score = e.Score;
  whiteSeed = e.WhiteSeed;
  blackSeed = e.BlackSeed;
  return true;
}

void InitAdvancedPawnTable() {
  for (uint32_t i = 0; i < 65536; ++i)
    AdvancedPawnTable[i] = static_cast<uint32_t>(AdvancedPawnBonus(i & 255, i >> 8));
}

uint32_t WhiteAdvancedPawnIndex(uint64_t whitePawns) {
  return static_cast<uint32_t>((whitePawns >> 40) & 0xFFFF);
}

uint32_t BlackAdvancedPawnIndex(uint64_t blackPawns) {
  return static_cast<uint32_t>((blackPawns & 0xFF00) | ((blackPawns & 0xFF0000) >> 16));
}
