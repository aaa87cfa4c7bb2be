// Perft's text rules, its result line, and the counting and divide output
// on the real move generator.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "board/Position.h"
#include "frontend/ConsoleIO.h"
#include "frontend/UnitPerft.h"

namespace {

void InitEngineOnce() {
  static bool done = false;
  if (done) return;
  testing::internal::CaptureStdout();
  InitEngine();
  testing::internal::GetCapturedStdout();
  done = true;
}

template <typename F>
std::string Captured(F f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}

// The time and speed depend on the machine; their texts are pinned down by
// the tests of PrintPerftResult, so here they only have to be well formed.
std::string MaskTiming(const std::string& text) {
  static const std::regex timing(
      R"( Time: (\d+h\d\dm\d\d|\d+m\d\d|\d+)\.\d\d  NPS: (OO|\d+|\d+\.\d+[kM]|\d+[kM])\r\n)");
  return std::regex_replace(text, timing, " Time: T  NPS: S\r\n");
}

const std::string Rule = std::string(80, '\xC4') + "\r\n";

}  // namespace

TEST(FormatElapsed, WritesHundredthsRoundedHalfToEven) {
  EXPECT_EQ(FormatElapsed(0), "0.00");
  EXPECT_EQ(FormatElapsed(5), "0.00");
  EXPECT_EQ(FormatElapsed(6), "0.01");
  EXPECT_EQ(FormatElapsed(15), "0.02");
  EXPECT_EQ(FormatElapsed(20), "0.02");
  EXPECT_EQ(FormatElapsed(25), "0.02");
  EXPECT_EQ(FormatElapsed(1234), "1.23");
  EXPECT_EQ(FormatElapsed(9985), "9.98");
  EXPECT_EQ(FormatElapsed(9995), "10.00");
}

TEST(FormatElapsed, AddsMinutesAndHoursWithPaddedFields) {
  EXPECT_EQ(FormatElapsed(59994), "59.99");
  EXPECT_EQ(FormatElapsed(59995), "1m00.00");
  EXPECT_EQ(FormatElapsed(60000), "1m00.00");
  EXPECT_EQ(FormatElapsed(61000), "1m01.00");
  EXPECT_EQ(FormatElapsed(599990), "9m59.99");
  EXPECT_EQ(FormatElapsed(725430), "12m05.43");
  EXPECT_EQ(FormatElapsed(3599994), "59m59.99");
  EXPECT_EQ(FormatElapsed(3600000), "1h00m00.00");
  EXPECT_EQ(FormatElapsed(3601000), "1h00m01.00");
  EXPECT_EQ(FormatElapsed(3661000), "1h01m01.00");
  EXPECT_EQ(FormatElapsed(3600000 + 11 * 60000 + 12340), "1h11m12.34");
  EXPECT_EQ(FormatElapsed(36000000), "10h00m00.00");
  EXPECT_EQ(FormatElapsed(100 * 3600000LL + 7), "100h00m00.01");
}

TEST(FormatAbbreviated, FollowsTheRangeTable) {
  EXPECT_EQ(FormatAbbreviated(0), "0");
  EXPECT_EQ(FormatAbbreviated(999), "999");
  EXPECT_EQ(FormatAbbreviated(1000), "1.00k");
  EXPECT_EQ(FormatAbbreviated(1234), "1.23k");
  EXPECT_EQ(FormatAbbreviated(12345), "12.3k");
  EXPECT_EQ(FormatAbbreviated(445100), "445k");
  EXPECT_EQ(FormatAbbreviated(1234567), "1.23M");
  EXPECT_EQ(FormatAbbreviated(12345678), "12.3M");
  EXPECT_EQ(FormatAbbreviated(123456789), "123M");
  EXPECT_EQ(FormatAbbreviated(1234567890123), "1234568M");
}

TEST(FormatAbbreviated, RangeTopsRoundUpToTheNextUnitSize) {
  EXPECT_EQ(FormatAbbreviated(9994), "9.99k");
  EXPECT_EQ(FormatAbbreviated(9995), "10.00k");
  EXPECT_EQ(FormatAbbreviated(99999), "100.0k");
  EXPECT_EQ(FormatAbbreviated(999999), "1000k");
  EXPECT_EQ(FormatAbbreviated(9999999), "10.00M");
  EXPECT_EQ(FormatAbbreviated(99999999), "100.0M");
}

TEST(FormatAbbreviated, HalvesRoundToEven) {
  EXPECT_EQ(FormatAbbreviated(1005), "1.00k");
  EXPECT_EQ(FormatAbbreviated(1015), "1.02k");
  EXPECT_EQ(FormatAbbreviated(10050), "10.0k");
  EXPECT_EQ(FormatAbbreviated(10150), "10.2k");
  EXPECT_EQ(FormatAbbreviated(100500), "100k");
  EXPECT_EQ(FormatAbbreviated(101500), "102k");
  EXPECT_EQ(FormatAbbreviated(2500000), "2.50M");
  EXPECT_EQ(FormatAbbreviated(2505000), "2.50M");
  EXPECT_EQ(FormatAbbreviated(2515000), "2.52M");
  EXPECT_EQ(FormatAbbreviated(500500000), "500M");
  EXPECT_EQ(FormatAbbreviated(501500000), "502M");
}

TEST(PrintPerftResult, WritesOneLineWithGroupedNodesTimeAndSpeed) {
  EXPECT_EQ(Captured([] { PrintPerftResult(3, 8902, 0); }),
            "Depth: 3 Nodes: 8,902 Time: 0.00  NPS: OO\r\n");
  EXPECT_EQ(Captured([] { PrintPerftResult(1, 20, 1); }),
            "Depth: 1 Nodes: 20 Time: 0.00  NPS: 20.0k\r\n");
  EXPECT_EQ(Captured([] { PrintPerftResult(6, 119060324, 1234); }),
            "Depth: 6 Nodes: 119,060,324 Time: 1.23  NPS: 96.5M\r\n");
  EXPECT_EQ(Captured([] { PrintPerftResult(5, 999999, 1000); }),
            "Depth: 5 Nodes: 999,999 Time: 1.00  NPS: 1000k\r\n");
  EXPECT_EQ(Captured([] { PrintPerftResult(4, 9995, 1000); }),
            "Depth: 4 Nodes: 9,995 Time: 1.00  NPS: 10.00k\r\n");
  EXPECT_EQ(Captured([] { PrintPerftResult(12, 1234567890123, 3661000); }),
            "Depth: 12 Nodes: 1234,567,890,123 Time: 1h01m01.00  NPS: 337M\r\n");
}

TEST(PrintPerftResult, SpeedIsZeroForNoNodesAndUnknownWithoutTime) {
  EXPECT_EQ(Captured([] { PrintPerftResult(2, 0, 7); }),
            "Depth: 2 Nodes: 0 Time: 0.01  NPS: 0\r\n");
  EXPECT_EQ(Captured([] { PrintPerftResult(2, 0, 0); }),
            "Depth: 2 Nodes: 0 Time: 0.00  NPS: OO\r\n");
  // Only a caller can pass a negative time: it reads as no time at all.
  EXPECT_EQ(Captured([] { PrintPerftResult(2, 50, -20); }),
            "Depth: 2 Nodes: 50 Time: 0.00  NPS: OO\r\n");
}

TEST(PrintPerftResult, SpeedRoundsNodesPerMillisecondTimesThousand) {
  // 2 / 3 * 1000 = 666.66..., rounded to 667.
  EXPECT_EQ(Captured([] { PrintPerftResult(1, 2, 3); }),
            "Depth: 1 Nodes: 2 Time: 0.00  NPS: 667\r\n");
  // 1 / 8 * 1000 = 125 exactly; 5 / 2000 * 1000 = 2.5 rounds to even.
  EXPECT_EQ(Captured([] { PrintPerftResult(1, 1, 8); }),
            "Depth: 1 Nodes: 1 Time: 0.01  NPS: 125\r\n");
  EXPECT_EQ(Captured([] { PrintPerftResult(1, 5, 2000); }),
            "Depth: 1 Nodes: 5 Time: 2.00  NPS: 2\r\n");
}

TEST(PrintPerftResult, GroupsUpToFourGroupsTheLastUnsplit) {
  auto nodes = [](int64_t n) {
    std::string line = Captured([n] { PrintPerftResult(1, n, 0); });
    size_t from = line.find("Nodes: ") + 7;
    return line.substr(from, line.find(" Time:") - from);
  };
  EXPECT_EQ(nodes(0), "0");
  EXPECT_EQ(nodes(999), "999");
  EXPECT_EQ(nodes(1000), "1,000");
  EXPECT_EQ(nodes(1001), "1,001");
  EXPECT_EQ(nodes(1234567), "1,234,567");
  EXPECT_EQ(nodes(1000000), "1,000,000");
  EXPECT_EQ(nodes(999999999999), "999,999,999,999");
  EXPECT_EQ(nodes(1000000000000), "1000,000,000,000");
  EXPECT_EQ(nodes(1234567890123), "1234,567,890,123");
  EXPECT_EQ(nodes(987654321000000000), "987654321,000,000,000");
}

TEST(DivideCommand, ListsEveryRootMoveBetweenRulesAtTheLastDepth) {
  InitEngineOnce();
  SetPositionFromFEN("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
  std::string out = MaskTiming(Captured([] { PerftCommand("2", true); }));
  const std::string head = "\r\nDepth: 1 Nodes: 48 Time: T  NPS: S\r\n" + Rule;
  const std::string tail = Rule + "Depth: 2 Nodes: 2,039 Time: T  NPS: S\r\n";
  ASSERT_EQ(out.substr(0, head.size()), head);
  ASSERT_EQ(out.substr(out.size() - tail.size()), tail);
  std::string body = out.substr(head.size(), out.size() - head.size() - tail.size());
  std::regex line(R"((\d+)\. ([a-h][1-8][a-h][1-8][nbrq]?) (\d+)\r\n)");
  int index = 0;
  int64_t sum = 0;
  for (std::sregex_iterator it(body.begin(), body.end(), line), end; it != end; ++it, ++index) {
    EXPECT_EQ(std::stoi((*it)[1]), index);
    sum += std::stoll((*it)[3]);
  }
  EXPECT_EQ(index, 48);
  EXPECT_EQ(sum, 2039);
  EXPECT_EQ(std::regex_replace(body, line, ""), "");
  EXPECT_EQ(GetFEN(), "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
}

TEST(PerftCount, AddsToTheCounterAndRestoresThePosition) {
  InitEngineOnce();
  SetPositionFromFEN("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1");
  uint64_t key = HashKey;
  PerftNodes = 5;
  PerftCount(3);
  EXPECT_EQ(PerftNodes, 5 + 2812);
  EXPECT_EQ(HashKey, key);
  EXPECT_EQ(GetFEN(), "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1");
}
