// Configure-time probe: exits 0 when the build machine's processor has the
// bit instructions.
#include "frontend/BitInstructions.h"

int main() { return HasBitInstructions() ? 0 : 1; }
