#include <gtest/gtest.h>

#include <climits>

#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"

TEST(Round, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, int64_t> cases[] = {
      {0.5, 0},        {1.5, 2},        {2.5, 2},     {-0.5, 0},        {-1.5, -2},
      {-2.5, -2},      {2.4999999, 2},  {2.5000001, 3}, {-7.6, -8},     {255 * 0.5, 128},
      {1e12 + 0.5, 1000000000000}};
  for (const auto& [x, rounded] : cases) EXPECT_EQ(Round(x), rounded) << x;
}

TEST(Random, FollowsTheLinearCongruentialSequence) {
  RandSeed = 12345;
  EXPECT_EQ(Random(100), 38u);
  EXPECT_EQ(RandSeed, 1655067934u);
  EXPECT_EQ(Random(100), 28u);
  EXPECT_EQ(Random(100), 7u);
  EXPECT_EQ(Random(1000000), 553610u);
  EXPECT_EQ(Random(0xFFFFFFFFu), 2721613529u);
  // A draw from nothing still advances the seed.
  EXPECT_EQ(Random(0), 0u);
  EXPECT_EQ(RandSeed, 1467157059u);
  EXPECT_EQ(Random(6), 2u);
}

TEST(Random, ReseedChangesTheSeedAndDrawsStayInRange) {
  RandSeed = 1;
  Reseed();
  uint32_t first = RandSeed;
  Reseed();
  EXPECT_NE(RandSeed, first);
  for (int i = 0; i < 1000; ++i) EXPECT_LT(Random(7), 7u);
}

// The value and the position of the first character not taken (0 when the
// whole text is a number).
TEST(Val, ReadsTheNumberAndWhereItStops) {
  struct Case {
    const char* text;
    int64_t value;
    int32_t pos;
  };
  const Case cases[] = {
      {"3x", 3, 2}, {"abc", 0, 1}, {"42", 42, 0}, {"   17", 17, 0},
      // Only leading spaces are skipped; trailing ones stop the digits.
      {"17 ", 17, 3}, {"\t5", 0, 1},
      {"-12", -12, 0}, {"+12", 12, 0}, {" -8z", -8, 4}, {"+-1", 0, 2},
      {"$10", 16, 0}, {"x1F", 31, 0}, {"X1f", 31, 0}, {"0xff", 255, 0}, {"-$10", -16, 0}, {"$1g", 1, 3},
      // Without the prefix a hexadecimal letter ends the number.
      {"1f", 1, 2},
      // Stops before overflowing 64 bits.
      {"9223372036854775807", INT64_MAX, 0}, {"-9223372036854775808", INT64_MIN, 0},
      {"92233720368547758070", INT64_MAX, 20}};
  for (const Case& c : cases) {
    int32_t pos = -1;
    EXPECT_EQ(Val(c.text, pos), c.value) << c.text;
    EXPECT_EQ(pos, c.pos) << c.text;
  }
  // Text without digits is never whole.
  for (const char* text : {"", "-", "$", "   "}) {
    int32_t pos = 0;
    EXPECT_EQ(Val(text, pos), 0) << text;
    EXPECT_NE(pos, 0) << text;
  }
}

TEST(StrToIntDef, YieldsTheValueOnlyForAWholeNumber) {
  EXPECT_EQ(StrToIntDef("300", 0), 300);
  EXPECT_EQ(StrToIntDef("3x", 0), 0);
  EXPECT_EQ(StrToIntDef("", 7), 7);
  EXPECT_EQ(StrToIntDef("$20", 0), 32);
  EXPECT_EQ(StrToIntDef("12 ", -1), -1);
}

TEST(StrToInt, AcceptsWholeThirtyTwoBitNumbers) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("-5"), -5);
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("$10"), 16);
  EXPECT_EQ(StrToInt("0xFFFFFFFF"), -1);
}

TEST(StrToInt, ConversionErrorEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(StrToInt("abc"), testing::ExitedWithCode(1), "'abc' is not a valid integer value");
  EXPECT_EXIT(StrToInt("12x"), testing::ExitedWithCode(1), "'12x' is not a valid integer value");
  EXPECT_EXIT(StrToInt(""), testing::ExitedWithCode(1), "'' is not a valid integer value");
  EXPECT_EXIT(StrToInt("2147483648"), testing::ExitedWithCode(1), "not a valid integer value");
  EXPECT_EXIT(StrToInt("-2147483649"), testing::ExitedWithCode(1), "not a valid integer value");
  EXPECT_EXIT(StrToInt("$100000000"), testing::ExitedWithCode(1), "not a valid integer value");
}

TEST(Trim, RemovesEverythingAtOrBelowTheSpaceAtBothEnds) {
  EXPECT_EQ(Trim("  go \r"), "go");
  EXPECT_EQ(Trim("\t\x01perft 3\x1f\n"), "perft 3");
  EXPECT_EQ(Trim("a  b"), "a  b");
  EXPECT_EQ(Trim(" \r\n\t"), "");
  EXPECT_EQ(Trim(""), "");
  // Bytes above 127 are text, not control characters.
  EXPECT_EQ(Trim("\xC4x\xB3"), "\xC4x\xB3");
}

TEST(PadStr, PadsToTheWidthNeverCuts) {
  EXPECT_EQ(PadStr("abc", 5), "abc  ");
  EXPECT_EQ(PadStr("abc", -5), "  abc");
  EXPECT_EQ(PadStr("abcdef", 3), "abcdef");
  EXPECT_EQ(PadStr("abcdef", -3), "abcdef");
  EXPECT_EQ(PadStr("", -2), "  ");
}

TEST(FormatThousands, GroupsOfThreeWithCommas) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0"},       {999, "999"},       {1000, "1,000"},        {1001, "1,001"},
      {-999, "-999"}, {-1234, "-1,234"},  {16777219, "16,777,219"}, {1234567890123, "1,234,567,890,123"},
      {INT64_MAX, "9,223,372,036,854,775,807"}, {INT64_MIN, "-9,223,372,036,854,775,808"}};
  for (const auto& [n, text] : cases) EXPECT_EQ(FormatThousands(n), text) << n;
}
