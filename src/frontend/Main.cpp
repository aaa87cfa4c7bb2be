#include "frontend/StartUp.h"

#ifdef VELKAR_BIT_INSTRUCTIONS
#include <cstdio>
#include <cstdlib>

#include "frontend/BitInstructions.h"

// This file is compiled without the bit instructions the rest of the engine
// uses; the check runs before any other start-up code.
__attribute__((constructor(101))) static void CheckProcessor() {
  if (!HasBitInstructions()) {
    std::fputs("velkar: this build needs a processor with POPCNT, BMI1, BMI2 and LZCNT; "
               "build it on this machine for a portable build\n",
               stderr);
    std::exit(1);
  }
}
#endif

int main() {
  ProgramEntry();
  return 0;
}
