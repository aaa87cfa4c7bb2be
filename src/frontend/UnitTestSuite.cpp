// EPD test suite and evaluation walk-through.
#include "frontend/UnitTestSuite.h"

void RunTestSuite() {}
void RunEvalSuite() {}
