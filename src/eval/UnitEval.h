// Material evaluation, recognised endings, the material cache.
//
// Scores here are centipawns from White's point of view. The game phase is
// the "endgame weight" w: 0 with full opening material, 255 in a bare
// endgame; phase-dependent terms interpolate with it.
//
// Material beyond the signature's fields: the packed MaterialSignature has
// 2-bit fields for knights, bishops, rooks and queens and 4-bit fields for
// pawns, so a fourth promoted piece of one kind (or a sixteenth pawn) carries
// into the neighbouring field and the signature no longer names the material
// on the board. Whenever that happens every routine below takes the true
// counts from PieceBB instead, and such positions never enter or hit the
// material cache (their signatures could equal those of ordinary positions).
// For every position whose counts fit the fields the signature, its slot and
// every result are exactly those of the packed signature alone.
// Any other reader of a single count (is there a queen at all?) should
// likewise look at PieceBB rather than at the signature's field.
#pragma once
#include <cstdint>

struct MaterialCacheEntry {
  int32_t Score;
  uint32_t Signature;  // the MaterialSignature the entry was computed for
  uint8_t EndgameWeight;
  uint8_t Recognised;
};

constexpr int MaterialCacheSize = 4096;
extern MaterialCacheEntry MaterialCache[MaterialCacheSize];

extern uint32_t MaterWrites;  // stores, for the hash statistics
extern uint32_t MaterHits;    // probe hits

// Slot of a signature: its high part folded onto its low 12 bits.
constexpr uint32_t MaterialCacheSlot(uint32_t signature) {
  return ((signature >> 12) ^ (signature & 4095)) & 4095;
}

// True when every piece count of the position fits its field, so that
// MaterialSignature describes the board exactly.
bool SignatureHoldsMaterial();

// Score, endgame weight and the recognised-ending flag of the current
// material; no side effects. Recognised endings (at most two men besides the
// kings, not two queens of one side) score from a fixed table with weight 255.
void EvaluateMaterial(int32_t& score, uint8_t& weight, uint8_t& recognised);

// Zero-fills every entry and both counters. A zero entry reads as bare kings
// (signature 0) with score 0, weight 0, not recognised.
void ClearMaterialCache();

// Overwrites the current signature's slot and counts a write. Does nothing
// for a position whose material does not fit the signature.
void StoreMaterialCache(int32_t score, uint8_t weight, uint8_t recognised);

// Hit when the slot holds the current signature: counts the hit and copies
// the three values out. Always misses, counting nothing, for a position whose
// material does not fit the signature.
bool ProbeMaterialCache(int32_t& score, uint8_t& weight, uint8_t& recognised);

// The material term as the static evaluation needs it: a cache probe, and on
// a miss EvaluateMaterial followed by StoreMaterialCache. Positions beyond
// the fields are evaluated from their true counts on every call.
void FetchMaterial(int32_t& score, uint8_t& weight, uint8_t& recognised);

// The pawn cache: the pawn-structure term and the two pawn seeds of the
// attack sets, by PawnKey. Cleared at start-up and at every set-up; a cleared
// entry reads as key 0, score 0 and empty seeds, so a position without pawns
// (key 0) hits it. The key covers the pawns alone: a later position with the
// same pawns takes the stored score and seeds even if pieces have moved.
struct PawnCacheEntry {
  int32_t Score;
  uint32_t Key;
  uint64_t WhiteSeed;  // Black pieces attacked by White pawns
  uint64_t BlackSeed;  // White pieces attacked by Black pawns
};
constexpr uint32_t PawnCacheSize = 1u << 20;
extern PawnCacheEntry PawnCache[PawnCacheSize];
extern uint32_t PawnCacheMask;
extern uint32_t PawnWrites;  // stores, for the hash statistics
extern uint32_t PawnHits;    // probe hits

// Rewrites only the entries stored since the last clear.
void ClearPawnCache();
void StorePawnCache(int32_t score, uint64_t whiteSeed, uint64_t blackSeed);
bool ProbePawnCache(int32_t& score, uint64_t& whiteSeed, uint64_t& blackSeed);

// Bonus of the pawns on the sixth and seventh ranks, by which files hold
// them: index bits 0-7 the files with a pawn on the side's sixth rank, bits
// 8-15 on its seventh. Unsigned: convert before subtracting.
extern uint32_t AdvancedPawnTable[65536];
void InitAdvancedPawnTable();
uint32_t WhiteAdvancedPawnIndex(uint64_t whitePawns);
uint32_t BlackAdvancedPawnIndex(uint64_t blackPawns);

// The static evaluation, from the side to move's view; with print set it
// writes the breakdown box.
extern uint32_t EvalCount;  // every call, never reset
// Built by each evaluation: the enemy pieces the side's pawns attack, and
// every square its knights, bishops, rooks and queens attack (not the king's).
extern uint64_t WhiteAttackSet, BlackAttackSet;
int32_t Evaluate(bool print);

// The terms of one evaluation, White's value minus Black's, except the two
// safety values, each that side's own. A recognised ending has only PSE and
// Material.
struct EvalTerms {
  int32_t PSE = 0, Material = 0, Pawns = 0, Mobility = 0, Attacks = 0, Center = 0, Various = 0;
  int32_t WhiteSafety = 0, BlackSafety = 0;
  bool Recognised = false;
};

// The steps of Evaluate, callable one by one. EvaluateTerms fills every term
// and returns their sum from White's view, neither turned to the side to move
// nor damped.
int32_t EvaluateTerms(EvalTerms& t);
// The pawn-structure term at weight w, on a pawn-cache miss.
void PawnStructure(uint8_t w, int32_t& score, uint64_t& whiteSeed, uint64_t& blackSeed);
// Attacks, Mobility and Various at weight w; completes both attack sets from
// the pawn seeds they hold.
void AddPieceTerms(uint8_t w, EvalTerms& t);
// Each side's king safety against the opponent's finished attack set; 0 when
// the opponent has no queen. The queen is looked for in PieceBB (see above).
int32_t WhiteKingSafety();
int32_t BlackKingSafety();
// The fifty-move damping of a score from the side to move's view.
int32_t DampedScore(int32_t score, uint32_t halfmoveClock);
void PrintEvalBox(const EvalTerms& t);
