// Perft's text rules, its result line, and the counting on the real move
// generator.
#include <gtest/gtest.h>

#include <string>

#include "board/Position.h"
#include "frontend/ConsoleIO.h"
#include "frontend/UnitPerft.h"
#include "support/EngineSetup.h"

namespace {

template <typename F>
std::string Captured(F f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(FormatElapsed, HundredthsRoundedHalfToEvenWithPaddedMinutesAndHours) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0.00"},           {5, "0.00"},           {6, "0.01"},           {15, "0.02"},
      {20, "0.02"},          {25, "0.02"},          {1234, "1.23"},        {9985, "9.98"},
      {9995, "10.00"},       {59994, "59.99"},      {59995, "1m00.00"},    {60000, "1m00.00"},
      {61000, "1m01.00"},    {599990, "9m59.99"},   {725430, "12m05.43"},  {3599994, "59m59.99"},
      {3600000, "1h00m00.00"}, {3601000, "1h00m01.00"}, {3661000, "1h01m01.00"},
      {3600000 + 11 * 60000 + 12340, "1h11m12.34"}, {36000000, "10h00m00.00"},
      {100 * 3600000LL + 7, "100h00m00.01"}};
  for (const auto& [ms, text] : cases) EXPECT_EQ(FormatElapsed(ms), text) << ms;
}

// The range table, its tops rounding up into the next unit, and halves to even.
TEST(FormatAbbreviated, FollowsTheRangeTable) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0"},             {999, "999"},            {1000, "1.00k"},        {1234, "1.23k"},
      {12345, "12.3k"},     {445100, "445k"},        {1234567, "1.23M"},     {12345678, "12.3M"},
      {123456789, "123M"},  {1234567890123, "1234568M"},
      {9994, "9.99k"},      {9995, "10.00k"},        {99999, "100.0k"},      {999999, "1000k"},
      {9999999, "10.00M"},  {99999999, "100.0M"},
      {1005, "1.00k"},      {1015, "1.02k"},         {10050, "10.0k"},       {10150, "10.2k"},
      {100500, "100k"},     {101500, "102k"},        {2500000, "2.50M"},     {2505000, "2.50M"},
      {2515000, "2.52M"},   {500500000, "500M"},     {501500000, "502M"}};
  for (const auto& [n, text] : cases) EXPECT_EQ(FormatAbbreviated(n), text) << n;
}

TEST(PrintPerftResult, WritesOneLineWithGroupedNodesTimeAndSpeed) {
  struct Case {
    int32_t depth;
    int64_t nodes, ms;
    const char* line;
  };
  const Case cases[] = {
      {3, 8902, 0, "Depth: 3 Nodes: 8,902 Time: 0.00  NPS: OO\r\n"},
      {1, 20, 1, "Depth: 1 Nodes: 20 Time: 0.00  NPS: 20.0k\r\n"},
      {6, 119060324, 1234, "Depth: 6 Nodes: 119,060,324 Time: 1.23  NPS: 96.5M\r\n"},
      {5, 999999, 1000, "Depth: 5 Nodes: 999,999 Time: 1.00  NPS: 1000k\r\n"},
      {4, 9995, 1000, "Depth: 4 Nodes: 9,995 Time: 1.00  NPS: 10.00k\r\n"},
      {12, 1234567890123, 3661000, "Depth: 12 Nodes: 1234,567,890,123 Time: 1h01m01.00  NPS: 337M\r\n"},
      // No nodes give speed 0, no time gives "OO"; a negative time reads as none.
      {2, 0, 7, "Depth: 2 Nodes: 0 Time: 0.01  NPS: 0\r\n"},
      {2, 0, 0, "Depth: 2 Nodes: 0 Time: 0.00  NPS: OO\r\n"},
      {2, 50, -20, "Depth: 2 Nodes: 50 Time: 0.00  NPS: OO\r\n"},
      // Nodes per millisecond times 1000, rounded: 666.66... to 667, 2.5 to even.
      {1, 2, 3, "Depth: 1 Nodes: 2 Time: 0.00  NPS: 667\r\n"},
      {1, 1, 8, "Depth: 1 Nodes: 1 Time: 0.01  NPS: 125\r\n"},
      {1, 5, 2000, "Depth: 1 Nodes: 5 Time: 2.00  NPS: 2\r\n"}};
  for (const Case& c : cases)
    EXPECT_EQ(Captured([&] { PrintPerftResult(c.depth, c.nodes, c.ms); }), c.line);
}

TEST(PrintPerftResult, GroupsUpToFourGroupsTheLastUnsplit) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {1001, "1,001"},
      {1234567, "1,234,567"},
      {1000000, "1,000,000"},
      {999999999999, "999,999,999,999"},
      {1000000000000, "1000,000,000,000"},
      {1234567890123, "1234,567,890,123"},
      {987654321000000000, "987654321,000,000,000"}};
  for (const auto& [n, text] : cases)
    EXPECT_EQ(Captured([nodes = n] { PrintPerftResult(1, nodes, 0); }),
              "Depth: 1 Nodes: " + std::string(text) + " Time: 0.00  NPS: OO\r\n");
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
