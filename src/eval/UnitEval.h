// Material evaluation, recognised endings, the material cache.
#pragma once
#include <cstdint>

extern uint32_t MaterWrites;
extern uint32_t MaterHits;

void EvaluateMaterial(int32_t& score, uint8_t& weight, uint8_t& recognised);
void ClearMaterialCache();
void StoreMaterialCache(int32_t score, uint8_t weight, uint8_t recognised);
bool ProbeMaterialCache(int32_t& score, uint8_t& weight, uint8_t& recognised);
