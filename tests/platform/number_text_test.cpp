#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace {

struct Formatted {
  Number value;
  const char* text;
};

void PrintTo(const Formatted& f, std::ostream* out) { *out << '"' << f.text << '"'; }

class NumberToTextTest : public ::testing::TestWithParam<Formatted> {};

TEST_P(NumberToTextTest, WritesSignColumnAndDigits) {
  EXPECT_EQ(numberToText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    PlainValues, NumberToTextTest,
    ::testing::Values(Formatted{0, " 0"}, Formatted{-0.0L, " 0"}, Formatted{5, " 5"},
                      Formatted{7, " 7"}, Formatted{12, " 12"}, Formatted{-2, "-2"},
                      Formatted{1000, " 1000"}, Formatted{7.5L, " 7.5"}, Formatted{0.5L, " .5"},
                      Formatted{-0.25L, "-.25"}, Formatted{0.1L, " .1"},
                      Formatted{0.05L, " .05"}, Formatted{100.125L, " 100.125"},
                      Formatted{-32768, "-32768"}, Formatted{1.0L / 3, " .333333333333333"},
                      Formatted{2.0L / 3, " .666666666666667"},
                      Formatted{999999999999999.0L, " 999999999999999"}));

// Only the 16th significant digit decides; a 5 there makes the 15th even,
// whatever follows. These values are exact binary fractions, so the digits
// written here are their exact expansions.
INSTANTIATE_TEST_SUITE_P(
    SixteenthDigitRounding, NumberToTextTest,
    ::testing::Values(
        // ...34.25: 5 after an even digit, nothing after it: stays.
        Formatted{12345678901234.25L, " 12345678901234.2"},
        // ...34.75: 5 after an odd digit: up to even.
        Formatted{12345678901234.75L, " 12345678901234.8"},
        // ...34.453125: 5 after an even digit stays even although 3125 follows.
        Formatted{12345678901234.453125L, " 12345678901234.4"},
        // ...34.359375: 5 after an odd digit goes up.
        Formatted{12345678901234.359375L, " 12345678901234.4"},
        // ...34.1484375: a 4 decides (down) although 84375 follows.
        Formatted{12345678901234.1484375L, " 12345678901234.1"},
        // ...34.5625: a 6 decides (up).
        Formatted{12345678901234.5625L, " 12345678901234.6"},
        // Rounding up carries through every digit into a new one.
        Formatted{99999999999999.96875L, " 100000000000000"},
        // 0.1 is a little more than one tenth in binary; the excess never shows.
        Formatted{-0.1L, "-.1"}));

INSTANTIATE_TEST_SUITE_P(
    ExponentForm, NumberToTextTest,
    ::testing::Values(Formatted{1.5e20L, " 1.5E+20"}, Formatted{1e15L, " 1E+15"},
                      Formatted{-1234567890123456.0L, "-1.23456789012346E+15"},
                      // 16 integer digits ending in 5 after an even digit: stays.
                      Formatted{1234567890123425.0L, " 1.23456789012342E+15"},
                      Formatted{9999999999999999.0L, " 1E+16"},
                      Formatted{0.25e-16L, " 2.5E-17"},
                      // The first digit 15 places after the point still reads plainly,
                      // 16 places after it does not.
                      Formatted{5e-15L, " .000000000000005"}, Formatted{5e-16L, " 5E-16"}));

TEST(NumberToText, ExtremesStayReadable) {
  EXPECT_EQ(numberToText(std::numeric_limits<Number>::max()), " 1.18973149535723E+4932");
  EXPECT_EQ(numberToText(std::numeric_limits<Number>::denorm_min()), " 3.64519953188247E-4951");
  EXPECT_EQ(numberToText(-std::numeric_limits<Number>::infinity()), "-INF");
}

TEST(TrimLeft, RemovesOnlyLeadingBlanks) {
  EXPECT_EQ(trimLeft(numberToText(0)), "0");
  EXPECT_EQ(trimLeft(numberToText(7)), "7");
  EXPECT_EQ(trimLeft(numberToText(-2)), "-2");
  EXPECT_EQ(trimLeft("   "), "");
  EXPECT_EQ(trimLeft(""), "");
  EXPECT_EQ(trimLeft("\t 7 "), "\t 7 ");
  EXPECT_EQ(trimLeft("  a b "), "a b ");
}

struct Read {
  std::string text;
  Number value;
};

void PrintTo(const Read& r, std::ostream* out) { *out << '"' << r.text << '"'; }

class TextToNumberTest : public ::testing::TestWithParam<Read> {};

TEST_P(TextToNumberTest, ReadsTheLeadingNumber) {
  const Number read = textToNumber(GetParam().text);
  EXPECT_EQ(read, GetParam().value) << "text \"" << GetParam().text << "\"";
  EXPECT_FALSE(std::signbit(read) && read == 0) << "no negative zero";
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, TextToNumberTest,
    ::testing::Values(
        Read{"", 0}, Read{"  12", 12}, Read{"  8", 8}, Read{"12abc", 12}, Read{"1 2", 1},
        Read{"7.5", 7.5L}, Read{".5", 0.5L}, Read{"-3", -3}, Read{"+4", 4}, Read{"3e2", 300},
        Read{"abc", 0}, Read{"x8", 0}, Read{"-", 0}, Read{"+", 0}, Read{".", 0},
        Read{"-.", 0}, Read{"1,5", 1}, Read{"07", 7}, Read{"00", 0}, Read{"-0", 0},
        Read{"1.2.3", 1.2L}, Read{"5.", 5}, Read{"-.25", -0.25L}, Read{"- 5", 0},
        Read{"--5", 0}, Read{"\t\r\n 42", 42}, Read{"\t-7.5x", -7.5L}, Read{"\v5", 0},
        Read{"   ", 0}, Read{std::string("9\0" "9", 3), 9}));

INSTANTIATE_TEST_SUITE_P(
    Exponents, TextToNumberTest,
    ::testing::Values(Read{"3E2", 300}, Read{"3d2", 300}, Read{"3D+2", 300},
                      Read{"25e-2", 0.25L}, Read{"3e", 3}, Read{"3e+", 3}, Read{"3e-x", 3},
                      Read{"1.5E3x", 1500}, Read{"2e0", 2}, Read{"e5", 0}, Read{".e5", 0},
                      Read{"1e-5", 1e-5L}, Read{"1.25e+2.5", 125},
                      // Above 9999 the exponent counts as 9999: far beyond the range.
                      Read{"1e99999", std::numeric_limits<Number>::infinity()},
                      Read{"1e-99999", 0}, Read{"0e99999", 0}));

INSTANTIATE_TEST_SUITE_P(
    Radix, TextToNumberTest,
    ::testing::Values(Read{"&HC", 12}, Read{"&hff", 255}, Read{"&H1g", 1}, Read{"&b101", 5},
                      Read{"&B1012", 5}, Read{"&o17", 15}, Read{"&Q17", 15}, Read{"&q8", 0},
                      Read{"&17", 15}, Read{"&8", 0}, Read{"&", 0}, Read{"&H", 0},
                      Read{"&x1", 0}, Read{"  &H10", 16}, Read{"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0L},
                      // 65 bits: rounds to the nearest extended value.
                      Read{"&H1FFFFFFFFFFFFFFFF", 36893488147419103232.0L}));

// Only 18 significant digits are used; the rest only count for magnitude.
INSTANTIATE_TEST_SUITE_P(
    ManyDigits, TextToNumberTest,
    ::testing::Values(Read{"12345678901234567890", 12345678901234567800.0L},
                      Read{"12345678901234567899", 12345678901234567800.0L},
                      Read{"-99999999999999999999", -99999999999999999900.0L},
                      Read{"00000000000000000000001", 1},
                      Read{"1.23456789012345678999", 1.23456789012345678L},
                      Read{"0.000000000000000000001234567890123456789",
                           1.23456789012345678e-21L},
                      Read{"123456789012345678901234567890e-10", 12345678901234567800.0L}));

// Well-known hard cases for conversions that scale step by step.
TEST(TextToNumber, RoundsLargeExponentsCorrectly) {
  EXPECT_EQ(textToNumber("1e300"), 1e300L);
  EXPECT_EQ(textToNumber("1e-300"), 1e-300L);
  EXPECT_EQ(textToNumber("1.18973149535723176e4932"), 1.18973149535723176e4932L);
  EXPECT_EQ(textToNumber("3.64519953188247460253e-4951"),
            std::numeric_limits<Number>::denorm_min());
  EXPECT_EQ(textToNumber("123456789012345678e50"), 123456789012345678e50L);
  EXPECT_EQ(textToNumber("123456789012345678e-50"), 123456789012345678e-50L);
}

TEST(TextToNumber, ReadsBackWhatNumberToTextWrites) {
  for (Number v : {0.0L, 7.0L, -2.0L, 7.5L, 0.5L, -0.25L, 1000.0L, 23.0L, 59.0L}) {
    EXPECT_EQ(textToNumber(numberToText(v)), v) << numberToText(v);
  }
}

struct Stored {
  Number value;
  std::int32_t expected;
};

class StoreIntoIntegerTest : public ::testing::TestWithParam<Stored> {};

TEST_P(StoreIntoIntegerTest, RoundsToNearestWithHalvesToEven) {
  EXPECT_EQ(toInt16(GetParam().value), GetParam().expected) << "value " << GetParam().value;
  EXPECT_EQ(toInt32(GetParam().value), GetParam().expected) << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    InRange, StoreIntoIntegerTest,
    ::testing::Values(Stored{7.5L, 8}, Stored{6.5L, 6}, Stored{0.5L, 0}, Stored{1.5L, 2},
                      Stored{2.5L, 2}, Stored{-0.5L, 0}, Stored{-1.5L, -2}, Stored{-2.5L, -2},
                      Stored{2.4999L, 2}, Stored{2.5001L, 3}, Stored{-2.6L, -3}, Stored{0, 0},
                      Stored{12, 12}, Stored{32767, 32767}, Stored{-32768, -32768},
                      Stored{32766.5L, 32766}, Stored{-32767.5L, -32768}));

// Values beyond an integer's range are held at its nearest end.
TEST(StoreIntoInteger, ClampsOutOfRangeValues) {
  EXPECT_EQ(toInt16(40000), 32767);
  EXPECT_EQ(toInt16(32767.6L), 32767);
  EXPECT_EQ(toInt16(-40000), -32768);
  EXPECT_EQ(toInt32(40000), 40000);
  EXPECT_EQ(toInt32(3e9L), 2147483647);
  EXPECT_EQ(toInt32(-3e9L), -2147483647 - 1);
  EXPECT_EQ(toInt32(2147483646.5L), 2147483646);
  EXPECT_EQ(toInt16(std::numeric_limits<Number>::infinity()), 32767);
  EXPECT_EQ(toInt16(-std::numeric_limits<Number>::infinity()), -32768);
  EXPECT_EQ(toInt16(std::numeric_limits<Number>::quiet_NaN()), 0);
}

}  // namespace
