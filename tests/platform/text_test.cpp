#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const Text kWithZero("a\0b", 3);

TEST(Text, LengthAndJoinCountEveryByte) {
  EXPECT_EQ(textLength(""), 0);
  EXPECT_EQ(textLength(kWithZero), 3);
  EXPECT_EQ(joinText(kWithZero, "c"), Text("a\0bc", 4));
  EXPECT_EQ(joinText("", ""), "");
}

struct Cut {
  Text t;
  TextPos start;
  TextPos count;
  Text expected;
};

class SubstringTest : public ::testing::TestWithParam<Cut> {};

TEST_P(SubstringTest, TakesUpToCountBytesFromStart) {
  const Cut& c = GetParam();
  EXPECT_EQ(substring(c.t, c.start, c.count), c.expected)
      << "substring(\"" << c.t << "\", " << c.start << ", " << c.count << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SubstringTest,
    ::testing::Values(Cut{"07:05:09", 1, 2, "07"}, Cut{"07:05:09", 4, 2, "05"},
                      Cut{"07:05:09", 7, 2, "09"}, Cut{"07:05:09", 3, 99, ":05:09"},
                      Cut{"07:05:09", 8, 5, "9"}, Cut{"07:05:09", 9, 1, ""},
                      Cut{"07:05:09", 0, 3, ""}, Cut{"07:05:09", -1, 3, ""},
                      Cut{"07:05:09", 1, 0, ""}, Cut{"07:05:09", 1, -1, ""},
                      Cut{"", 1, 1, ""}, Cut{kWithZero, 2, 2, Text("\0b", 2)}));

TEST(Text, RightPartTakesTheLastBytes) {
  EXPECT_EQ(rightPart(" 12", 2), "12");
  EXPECT_EQ(rightPart(" 7", 2), " 7");
  EXPECT_EQ(rightPart("7", 2), "7");
  EXPECT_EQ(rightPart("abc", 3), "abc");
  EXPECT_EQ(rightPart("abc", 0), "");
  EXPECT_EQ(rightPart("abc", -2), "");
  EXPECT_EQ(rightPart("", 4), "");
}

struct Overwrite {
  Text t;
  TextPos start;
  TextPos count;
  Text r;
  Text expected;
};

class OverwriteTest : public ::testing::TestWithParam<Overwrite> {};

TEST_P(OverwriteTest, ReplacesInPlaceWithoutChangingLength) {
  const Overwrite& o = GetParam();
  Text t = o.t;
  overwrite(t, o.start, o.count, o.r);
  EXPECT_EQ(t, o.expected) << "overwrite(\"" << o.t << "\", " << o.start << ", " << o.count
                           << ", \"" << o.r << "\")";
  EXPECT_EQ(t.size(), o.t.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OverwriteTest,
    ::testing::Values(Overwrite{"     ", 1, 1, "A", "A    "},
                      Overwrite{"ab", 3, 1, "X", "ab"},     // beyond the end
                      Overwrite{"ab", 0, 1, "X", "ab"},     // before the start
                      Overwrite{"ab", -4, 9, "XY", "ab"},
                      Overwrite{"abcde", 2, 2, "XYZ", "aXYde"},  // count is smallest
                      Overwrite{"abcde", 2, 9, "XY", "aXYde"},   // r is shortest
                      Overwrite{"abcde", 4, 9, "XYZ", "abcXY"},  // end of t comes first
                      Overwrite{"NNNNN", 3, 1, "A", "NNANN"},
                      Overwrite{"abc", 1, 0, "X", "abc"}, Overwrite{"abc", 1, -1, "X", "abc"},
                      Overwrite{"abc", 1, 3, "", "abc"}, Overwrite{"", 1, 1, "X", ""},
                      Overwrite{"abc", 2, 1, Text("\0", 1), Text("a\0c", 3)}));

struct Find {
  TextPos start;
  Text t;
  Text part;
  TextPos expected;
};

class FindTest : public ::testing::TestWithParam<Find> {};

TEST_P(FindTest, GivesPositionOfFirstOccurrenceFromStart) {
  const Find& f = GetParam();
  EXPECT_EQ(findText(f.start, f.t, f.part), f.expected)
      << "find(" << f.start << ", \"" << f.t << "\", \"" << f.part << "\")";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTest,
    ::testing::Values(Find{1, "<p>a</p>", "<", 1}, Find{2, "<p>a</p>", "<", 5},
                      Find{5, "<p>a</p>", "<", 5}, Find{6, "<p>a</p>", "<", 0},
                      Find{1, "<p>a</p>", "</p>", 5}, Find{1, "abc", "abcd", 0},
                      Find{1, "abc", "x", 0}, Find{3, "abc", "c", 3}, Find{4, "abc", "c", 0},
                      Find{99, "abc", "c", 0}, Find{0, "abc", "a", 1},
                      Find{1, "aaa", "aa", 1}, Find{2, "aaa", "aa", 2},
                      Find{1, "ABC", "b", 0},                // case matters
                      Find{1, "", "a", 0}, Find{1, "", "", 0},  // empty t
                      Find{1, "abc", "", 1}, Find{3, "abc", "", 3},  // empty part
                      Find{1, kWithZero, "b", 3}, Find{1, kWithZero, Text("\0", 1), 2}));

TEST(Text, EqualComparesLengthAndEveryByte) {
  EXPECT_TRUE(textEqual("Abc", "Abc"));
  EXPECT_FALSE(textEqual("Abc", "abc"));
  EXPECT_FALSE(textEqual("ab", Text("ab\0", 3)));
  EXPECT_TRUE(textEqual("", ""));
}

TEST(Text, CharacterCodeIsByteValueOrMinusOneOutside) {
  const Text t("A\xFF\0", 3);
  EXPECT_EQ(characterCode(t, 1), 65);
  EXPECT_EQ(characterCode(t, 2), 255);
  EXPECT_EQ(characterCode(t, 3), 0);
  EXPECT_EQ(characterCode(t, 4), -1);
  EXPECT_EQ(characterCode(t, 0), -1);
  EXPECT_EQ(characterCode(t, -1), -1);
  EXPECT_EQ(characterCode("", 1), -1);
}

TEST(Text, CharacterMakesOneByte) {
  EXPECT_EQ(character(65), "A");
  EXPECT_EQ(character(0), Text(1, '\0'));
  EXPECT_EQ(character(255), "\xFF");
  for (int n = 0; n < 256; ++n) EXPECT_EQ(characterCode(character(n), 1), n);
}

TEST(Text, LowerCaseKeepsLengthAndNonLetters) {
  EXPECT_EQ(lowerCase("<P>Hello, WORLD 123</P>"), "<p>hello, world 123</p>");
  EXPECT_EQ(lowerCase(""), "");
  EXPECT_EQ(lowerCase(Text("A\0B", 3)), Text("a\0b", 3));
}

}  // namespace
