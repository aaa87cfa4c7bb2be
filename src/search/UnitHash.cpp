// The transposition table.
#include "search/UnitHash.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "eval/UnitEval.h"
#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"
#include "frontend/StartUp.h"
#include "search/Clock.h"
#include "search/UnitSearch.h"

namespace {

// Until the first sizing the table is a single bucket, so a probe or a store
// made that early lands somewhere real.
entry_t FirstTable[4];
uint8_t FirstWrittenPages[1];

// Records written since the last clear, by 4096-byte page of the table. A
// clear rewrites only these pages: after a short search, setting up the next
// position must not fault in and zero the whole untouched table.
constexpr int PageShift = 8;  // 256 records of 16 bytes
uint8_t* WrittenPages = FirstWrittenPages;
bool AnyWritten = false;

void* MappedBlock = nullptr;
size_t MappedBytes = 0;

constexpr int32_t MaxStoredValue = 32767;
constexpr int32_t MaxStoredDepth = 127;
constexpr int32_t MinStoredDepth = -128;

// Signed on purpose: in unsigned arithmetic a record of the current
// generation (age 0) would score near 2^32 and always be the one replaced.
int32_t ReplacementScore(const entry_t& e) {
  const int32_t age = static_cast<int32_t>(HashAgeTable[EntryGeneration(e)]);
  return ((age * 256) - EntryDepth(e)) * 4 - static_cast<int32_t>(EntryBound(e));
}

// Oldest generation first, then the shallowest, then the fewest bound bits;
// of equal scores the first in the bucket.
int ReplacementSlot(const entry_t* bucket) {
  int chosen = 0;
  for (int j = 1; j < 4; j++)
    if (ReplacementScore(bucket[j]) > ReplacementScore(bucket[chosen])) chosen = j;
  return chosen;
}

// Which of the bucket's four records holds the key, -1 when none does.
int KeySlot(const entry_t* bucket, uint64_t key) {
  for (int j = 0; j < 4; j++)
    if (bucket[j].key == static_cast<int64_t>(key)) return j;
  return -1;
}

void ReleaseTable() {
  if (MappedBlock != nullptr) munmap(MappedBlock, MappedBytes);
  MappedBlock = nullptr;
  MappedBytes = 0;
}

[[noreturn]] void OutOfMemory() {
  FlushText();
  std::fputs("Out of memory\n", stderr);
  std::fflush(stderr);
  std::exit(1);
}

// Fresh anonymous pages read as zero, which is the cleared record, and cost
// neither time nor resident memory until a store touches them. The page map
// rides in the same block, behind the records.
void MapTable(int64_t slots) {
  ReleaseTable();
  const size_t tableBytes = static_cast<size_t>(slots) * sizeof(entry_t);
  const size_t bytes = tableBytes + static_cast<size_t>(slots >> PageShift) + 1;
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) OutOfMemory();
  MappedBlock = block;
  MappedBytes = bytes;
  HashTable = static_cast<entry_t*>(block);
  WrittenPages = static_cast<uint8_t*>(block) + tableBytes;
  AnyWritten = false;
}

void PrintSizeLine() {
  const std::string text = "HASH: size=" + std::to_string(Round(static_cast<double>(HashSlots) * 16 / 1048576.0)) +
                           "MB slots=" + FormatThousands(HashSlots);
  if (ProtocolMode == UciProtocol)
    WriteLine("info string " + text);
  else if (ProtocolMode == XboardProtocol)
    WriteLine("# " + text);
  else
    WriteLine(text + "\r\n");
}

void WriteEntry(entry_t& e, uint64_t key, uint32_t move, int8_t depth, uint32_t flags, int16_t value) {
  e.key = static_cast<int64_t>(key);
  e.mov = move;
  e.depth_biased = BiasedDepth(depth);
  e.date_flags = static_cast<uint8_t>(HashDate * 16 + flags);
  e.value = value;
}

void CountGenerationChange(const entry_t& e) {
  if (EntryGeneration(e) == HashDate) return;
  HashSlotsUsed++;
  HashSlotsFilled++;
}

// The key is already in the bucket: a deeper result stays and only lends its
// record the move and the current generation.
void RenewEntry(entry_t& e, uint64_t key, uint32_t move, int8_t depth, uint32_t flags, int16_t value) {
  HashWriteHits++;
  CountGenerationChange(e);
  if (EntryDepth(e) > depth) {
    if (e.mov == 0) e.mov = move;
    e.date_flags = static_cast<uint8_t>(HashDate * 16 + EntryBound(e));
    return;
  }
  WriteEntry(e, key, move != 0 ? move : e.mov, depth, flags, value);
}

void ReplaceEntry(entry_t& e, uint64_t key, uint32_t move, int8_t depth, uint32_t flags, int16_t value) {
  if (EntryGeneration(e) == HashDate) HashCollisions++;
  CountGenerationChange(e);
  WriteEntry(e, key, move, depth, flags, value);
}

std::string Percent(int64_t part, int64_t whole) {
  return " (" + std::to_string(Round(static_cast<double>(part) * 100 / static_cast<double>(whole))) + "%)";
}

}  // namespace

entry_t* HashTable = FirstTable;
int64_t HashSlots = 4;
uint32_t HashMask = 0;
uint32_t HashDate = 0;
uint32_t HashAgeTable[16] = {};
int64_t HashReads = 0, HashReadHits = 0, HashWrites = 0, HashWriteHits = 0, HashCollisions = 0;
int64_t HashSlotsUsed = 0, HashSlotsFilled = 0;

void SetHashSize() {
  const uint32_t bytes = static_cast<uint32_t>(HashSizeMB) * 1048576u;
  const uint32_t n = std::bit_floor(bytes) / sizeof(entry_t);
  const int64_t slots = int64_t{n} + 3;
  if (MappedBlock == nullptr || slots != HashSlots) MapTable(slots);
  HashSlots = slots;
  HashMask = n - 1;
  PrintSizeLine();
  ClearHash();
}

void ClearHash() {
  HashSlotsFilled = 0;
  SetHashDate(0);
  if (!AnyWritten) return;
  const int64_t pages = (HashSlots >> PageShift) + 1;
  for (int64_t page = 0; page < pages; page++) {
    if (WrittenPages[page] == 0) continue;
    const int64_t first = page << PageShift;
    const int64_t count = std::min(int64_t{1} << PageShift, HashSlots - first);
    std::memset(static_cast<void*>(HashTable + first), 0, static_cast<size_t>(count) * sizeof(entry_t));
    WrittenPages[page] = 0;
  }
  AnyWritten = false;
}

int32_t HashAge(uint32_t d) {
  const int32_t age = static_cast<int32_t>(HashDate) - static_cast<int32_t>(d);
  return age < 0 ? age + 16 : age;
}

void SetHashDate(uint32_t d) {
  HashDate = d;
  for (uint32_t i = 0; i < 16; i++) HashAgeTable[i] = static_cast<uint32_t>(HashAge(i));
  HashSlotsUsed = 0;
  HashReads = 0;
  HashReadHits = 0;
  HashWrites = 0;
  HashWriteHits = 0;
  HashCollisions = 0;
}

void NextHashDate() { SetHashDate((HashDate + 1) % 16); }

uint32_t HashIndex(uint64_t key) { return static_cast<uint32_t>(key) & HashMask; }

void StoreHash(uint64_t key, uint32_t move, int32_t depth, uint32_t flags, int32_t value) {
  HashWrites++;
  // Wrapped into 16 bits, a lost position far from the root would read back
  // as a mate for the other side: keep only the move.
  if (value < -MaxStoredValue || value > MaxStoredValue) {
    flags = 0;
    value = 0;
  }
  const int8_t d = static_cast<int8_t>(std::clamp(depth, MinStoredDepth, MaxStoredDepth));
  const int16_t v = static_cast<int16_t>(value);
  flags &= 3;
  const uint32_t i = HashIndex(key);
  entry_t* bucket = HashTable + i;
  int s = KeySlot(bucket, key);
  if (s >= 0) {
    RenewEntry(bucket[s], key, move, d, flags, v);
  } else {
    s = ReplacementSlot(bucket);
    ReplaceEntry(bucket[s], key, move, d, flags, v);
  }
  WrittenPages[(i + s) >> PageShift] = 1;
  AnyWritten = true;
}

bool ProbeHash(uint64_t key, uint32_t& move, int32_t& depth, uint32_t& flags, int32_t& value) {
  HashReads++;
  const entry_t* bucket = HashTable + HashIndex(key);
  const int s = KeySlot(bucket, key);
  if (s < 0) return false;
  HashReadHits++;
  move = bucket[s].mov;
  depth = EntryDepth(bucket[s]);
  flags = EntryBound(bucket[s]);
  value = bucket[s].value;
  return true;
}

// Mate scores count plies and won or lost scores 40 per ply from the node
// rather than from the root, so one entry serves the position at any ply.
int32_t ScoreToHash(int32_t score, int32_t ply) {
  if (score < -MateThreshold) return score - ply;
  if (score > MateThreshold) return score + ply;
  if (score < -2750 && score != -MateThreshold) return score - 40 * ply;
  if (score > 2750 && score != MateThreshold) return score + 40 * ply;
  return score;
}

int32_t ScoreFromHash(int32_t score, int32_t ply) {
  if (score < -MateThreshold) return score + ply;
  if (score > MateThreshold) return score - ply;
  if (score < -2750 && score != -MateThreshold) return score + 40 * ply;
  if (score > 2750 && score != MateThreshold) return score - 40 * ply;
  return score;
}

void PrintHashStats() {
  const std::string rule(34, '\xC4');
  WriteLine("");
  WriteLine(std::string(6, '\xC4') + " HASH STATS " + std::string(15, '\xC4'));
  WriteLine("      Reads: " + FormatThousands(HashReads));
  WriteLine("  Read hits: " + FormatThousands(HashReadHits) +
            (HashReads >= 1 ? Percent(HashReadHits, HashReads) : ""));
  WriteLine("     Writes: " + FormatThousands(HashWrites));
  WriteLine(" Write hits: " + FormatThousands(HashWriteHits) +
            (HashWrites >= 1 ? Percent(HashWriteHits, HashWrites) : ""));
  WriteLine(" Collisions: " + FormatThousands(HashCollisions) +
            (HashWrites >= 1 ? Percent(HashCollisions, HashWrites) : ""));
  WriteLine(" Slots used: " + FormatThousands(HashSlotsUsed) + Percent(HashSlotsUsed, HashSlots));
  WriteLine("Total slots: " + FormatThousands(HashSlotsFilled) + Percent(HashSlotsFilled, HashSlots));
  WriteLine(rule);
  WriteLine("      Evals: " + FormatThousands(EvalCount));
  WriteLine(rule);
  WriteLine(" Pawnwrites: " + FormatThousands(PawnWrites));
  WriteLine("   Pawnhits: " + FormatThousands(PawnHits));
  WriteLine("Materwrites: " + FormatThousands(MaterWrites));
  WriteLine("  Materhits: " + FormatThousands(MaterHits));
  WriteLine(rule);
}

void PrintInfoTimeNodes() {
  // One reading for the whole line: a clock stepping back between a zero
  // test and the division would divide by zero.
  const int64_t ms = ElapsedMs();
  const int32_t nps =
      ms != 0 ? static_cast<int32_t>(Round(static_cast<double>(Nodes) * 1000 / static_cast<double>(ms))) : 999999;
  const int64_t full = Round(static_cast<double>(HashSlotsUsed) * 1000 / static_cast<double>(HashSlots));
  WriteLine("info time " + std::to_string(ms) + " nodes " + std::to_string(Nodes) + " nps " + std::to_string(nps) +
            " hashfull " + std::to_string(full));
}
