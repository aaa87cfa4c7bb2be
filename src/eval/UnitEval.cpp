// PLACEHOLDER: replaced by material evaluation and its cache.
#include "eval/UnitEval.h"

uint32_t MaterWrites, MaterHits;

void EvaluateMaterial(int32_t& score, uint8_t& weight, uint8_t& recognised) {
  score = 0;
  weight = 0;
  recognised = 0;
}
void ClearMaterialCache() {}
void StoreMaterialCache(int32_t, uint8_t, uint8_t) {}
bool ProbeMaterialCache(int32_t&, uint8_t&, uint8_t&) { return false; }
