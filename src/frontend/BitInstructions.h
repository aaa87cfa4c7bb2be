#pragma once

// Whether the processor has the instructions a build with -mpopcnt -mbmi
// -mbmi2 -mlzcnt uses. Safe to call before any static initialisation.
inline bool HasBitInstructions() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
         __builtin_cpu_supports("lzcnt");
}
