#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

// Whether the processor has the instructions a build with -mpopcnt -mbmi
// -mbmi2 -mlzcnt uses. Safe to call before any static initialisation, and
// the same under g++ and clang: it asks CPUID itself, where the compilers'
// feature tests differ (clang 14 has no "lzcnt") and need their own set-up.
inline bool HasBitInstructions() {
#if defined(__x86_64__) || defined(__i386__)
  // A leaf beyond the highest one is answered with another leaf's data, whose
  // bits mean something else. (clang's answer is an int, g++'s unsigned.)
  const unsigned int highest = unsigned(__get_cpuid_max(0, nullptr));
  const unsigned int highestExtended = unsigned(__get_cpuid_max(0x80000000, nullptr));
  if (highest < 7 || highestExtended < 0x80000001) return false;
  unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
  __cpuid(1, eax, ebx, ecx, edx);
  const bool popcnt = (ecx >> 23) & 1;
  __cpuid_count(7, 0, eax, ebx, ecx, edx);
  const bool bmi1 = (ebx >> 3) & 1, bmi2 = (ebx >> 8) & 1;
  // LZCNT shares its bit with the rest of ABM.
  __cpuid(0x80000001, eax, ebx, ecx, edx);
  const bool lzcnt = (ecx >> 5) & 1;
  return popcnt && bmi1 && bmi2 && lzcnt;
#else
  return false;
#endif
}
