// Perft counts of the reference positions at every depth they list, through
// the counting recursion of the perft command.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "board/Position.h"
#include "frontend/ConsoleIO.h"
#include "frontend/UnitPerft.h"

namespace {

struct Reference {
  std::string Fen;
  std::vector<std::pair<int32_t, int64_t>> Counts;  // depth, leaves
};

// Lines: FEN fields, then ";Dn count" for each depth; "#" starts a comment.
std::vector<Reference> ReadReferences() {
  std::ifstream in(std::string(VELKAR_TEST_DATA) + "/positions.epd");
  std::vector<Reference> refs;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    Reference ref;
    size_t semi = line.find(';');
    ref.Fen = line.substr(0, semi);
    while (!ref.Fen.empty() && ref.Fen.back() == ' ') ref.Fen.pop_back();
    while (semi != std::string::npos) {
      size_t next = line.find(';', semi + 1);
      std::istringstream field(line.substr(semi + 1, next - semi - 1));
      std::string depth;
      int64_t count;
      if (field >> depth >> count && depth.size() > 1 && depth[0] == 'D')
        ref.Counts.emplace_back(std::stoi(depth.substr(1)), count);
      semi = next;
    }
    refs.push_back(ref);
  }
  return refs;
}

const std::vector<Reference>& References() {
  static const std::vector<Reference> refs = ReadReferences();
  return refs;
}

void InitEngineOnce() {
  static bool done = false;
  if (done) return;
  testing::internal::CaptureStdout();
  InitEngine();
  testing::internal::GetCapturedStdout();
  done = true;
}

}  // namespace

TEST(PerftReference, DataHoldsAllPositionsAndDepths) {
  const auto& refs = References();
  ASSERT_EQ(refs.size(), 86u);
  int64_t leaves = 0;
  for (const auto& ref : refs) {
    EXPECT_GE(ref.Counts.size(), 4u) << ref.Fen;
    for (const auto& [depth, count] : ref.Counts) leaves += count;
  }
  EXPECT_EQ(leaves, 466168534);
}

TEST(PerftReference, CountsEqualTheReferenceAtEveryDepth) {
  InitEngineOnce();
  for (const Reference& ref : References()) {
    testing::internal::CaptureStdout();
    SetPositionFromFEN(ref.Fen);
    ASSERT_EQ(testing::internal::GetCapturedStdout(), "") << ref.Fen;
    // The set-up normalises the move counters; the rest must come back.
    const std::string before = GetFEN();
    for (const auto& [depth, count] : ref.Counts) {
      PerftNodes = 0;
      PerftCount(depth);
      EXPECT_EQ(PerftNodes, count) << ref.Fen << " depth " << depth;
    }
    EXPECT_EQ(GetFEN(), before) << ref.Fen;
  }
}
