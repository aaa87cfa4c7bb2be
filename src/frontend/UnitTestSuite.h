// EPD test suite and evaluation walk-through.
#pragma once

void RunTestSuite();
void RunEvalSuite();
