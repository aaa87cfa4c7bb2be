// Perft counts of the reference positions at every depth they list. Each
// position is a test of its own, so the test runner can spread them over
// processes.
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

class PerftReferencePosition : public testing::TestWithParam<int> {};

TEST_P(PerftReferencePosition, CountsEqualTheReference) {
  const auto& refs = References();
  ASSERT_LT(static_cast<size_t>(GetParam()), refs.size());
  const Reference& ref = refs[GetParam()];
  InitEngineOnce();
  testing::internal::CaptureStdout();
  SetPositionFromFEN(ref.Fen);
  std::string messages = testing::internal::GetCapturedStdout();
  ASSERT_EQ(messages, "") << ref.Fen;
  // The set-up may normalise the counters; the position part must stay.
  const std::string before = GetFEN();
  for (const auto& [depth, count] : ref.Counts) {
    PerftNodes = 0;
    PerftCount(depth);
    EXPECT_EQ(PerftNodes, count) << ref.Fen << " depth " << depth;
  }
  EXPECT_EQ(GetFEN(), before);
}

INSTANTIATE_TEST_SUITE_P(Positions, PerftReferencePosition, testing::Range(0, 86));
