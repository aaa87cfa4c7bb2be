#include <gtest/gtest.h>

#include <climits>

#include "frontend/ConsoleIO.h"
#include "frontend/Helpers.h"

TEST(Round, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(-0.5), 0);
  EXPECT_EQ(Round(-1.5), -2);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(2.4999999), 2);
  EXPECT_EQ(Round(2.5000001), 3);
  EXPECT_EQ(Round(-7.6), -8);
  EXPECT_EQ(Round(255 * 0.5), 128);  // 127.5
  EXPECT_EQ(Round(1e12 + 0.5), 1000000000000);
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

TEST(Random, SeedWrapsModulo32Bits) {
  RandSeed = 0xFFFFFFFFu;
  Random(1);
  EXPECT_EQ(RandSeed, static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
}

TEST(Random, ReseedChangesTheSeedAndDrawsStayInRange) {
  RandSeed = 1;
  Reseed();
  uint32_t first = RandSeed;
  Reseed();
  EXPECT_NE(RandSeed, first);
  for (int i = 0; i < 1000; ++i) EXPECT_LT(Random(7), 7u);
}

TEST(Val, ReadsDigitsUpToTheFirstOtherCharacter) {
  int32_t pos = -1;
  EXPECT_EQ(Val("3x", pos), 3);
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(Val("abc", pos), 0);
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(Val("42", pos), 42);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(Val("   17", pos), 17);
  EXPECT_EQ(pos, 0);
  // Only leading spaces are skipped; trailing ones stop the digits.
  EXPECT_EQ(Val("17 ", pos), 17);
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(Val("\t5", pos), 0);
  EXPECT_EQ(pos, 1);
}

TEST(Val, SignsAndHexadecimalPrefixes) {
  int32_t pos = -1;
  EXPECT_EQ(Val("-12", pos), -12);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(Val("+12", pos), 12);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(Val(" -8z", pos), -8);
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(Val("+-1", pos), 0);
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(Val("$10", pos), 16);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(Val("x1F", pos), 31);
  EXPECT_EQ(Val("X1f", pos), 31);
  EXPECT_EQ(Val("0xff", pos), 255);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(Val("-$10", pos), -16);
  EXPECT_EQ(Val("$1g", pos), 1);
  EXPECT_EQ(pos, 3);
  // Without the prefix a hexadecimal letter ends the number.
  EXPECT_EQ(Val("1f", pos), 1);
  EXPECT_EQ(pos, 2);
}

TEST(Val, TextWithoutDigitsIsNeverWhole) {
  int32_t pos = 0;
  EXPECT_EQ(Val("", pos), 0);
  EXPECT_NE(pos, 0);
  EXPECT_EQ(Val("-", pos), 0);
  EXPECT_NE(pos, 0);
  EXPECT_EQ(Val("$", pos), 0);
  EXPECT_NE(pos, 0);
  EXPECT_EQ(Val("   ", pos), 0);
  EXPECT_NE(pos, 0);
}

TEST(Val, StopsBeforeOverflowingSixtyFourBits) {
  int32_t pos = 0;
  EXPECT_EQ(Val("9223372036854775807", pos), INT64_MAX);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(Val("-9223372036854775808", pos), INT64_MIN);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(Val("92233720368547758070", pos), INT64_MAX);
  EXPECT_EQ(pos, 20);
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
  EXPECT_EQ(PadStr("abc", 3), "abc");
  EXPECT_EQ(PadStr("", 0), "");
  EXPECT_EQ(PadStr("", -2), "  ");
}

TEST(FormatThousands, GroupsOfThreeWithCommas) {
  EXPECT_EQ(FormatThousands(0), "0");
  EXPECT_EQ(FormatThousands(999), "999");
  EXPECT_EQ(FormatThousands(1000), "1,000");
  EXPECT_EQ(FormatThousands(1001), "1,001");
  EXPECT_EQ(FormatThousands(16777219), "16,777,219");
  EXPECT_EQ(FormatThousands(1000000), "1,000,000");
  EXPECT_EQ(FormatThousands(-1234), "-1,234");
  EXPECT_EQ(FormatThousands(-999), "-999");
  EXPECT_EQ(FormatThousands(1234567890123), "1,234,567,890,123");
  EXPECT_EQ(FormatThousands(INT64_MAX), "9,223,372,036,854,775,807");
  EXPECT_EQ(FormatThousands(INT64_MIN), "-9,223,372,036,854,775,808");
}
