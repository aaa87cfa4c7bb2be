// The static evaluation, the pawn cache and the king safety term.
#include "eval/UnitEval.h"

uint32_t PawnCacheMask = PawnCacheSize - 1;
uint32_t PawnWrites = 0, PawnHits = 0;
uint32_t AdvancedPawnTable[65536];
uint32_t EvalCount = 0;
uint64_t WhiteAttackSet = 0, BlackAttackSet = 0;

void ClearPawnCache() {}
void StorePawnCache(int32_t, uint64_t, uint64_t) {}
bool ProbePawnCache(int32_t&, uint64_t&, uint64_t&) { return false; }
void InitAdvancedPawnTable() {}
int32_t Evaluate(bool) { return 0; }
