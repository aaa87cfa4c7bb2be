// The perft walks under the names the benchmarks use.
#pragma once
#include "board/BoardTestSupport.h"

namespace movegen_test {
using ::Perft;
using ::PerftCounted;
using ::SetFEN;
}  // namespace movegen_test
