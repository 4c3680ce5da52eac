#include "platform/posix/utf8_text.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8TextTest, ConvertsEveryByteOfTheWindowsPage) {
  struct Case {
    Text ansi;
    std::string utf8;
  };
  const Case cases[] = {
      {"", ""},
      {"Wake up", "Wake up"},
      {Text("a\0b", 3), std::string("a\0b", 3)},
      {"caf\xE9 \xFF", "caf\xC3\xA9 \xC3\xBF"},
      {"\x80 \x85 \x99", "\xE2\x82\xAC \xE2\x80\xA6 \xE2\x84\xA2"},
      {"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"},
      {"\x83\x8A\x9F", "\xC6\x92\xC5\xA0\xC5\xB8"},
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {"\xA0\xBF", "\xC2\xA0\xC2\xBF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ansi);
    EXPECT_EQ(ansiToUtf8(c.ansi), c.utf8);
  }
}

TEST(Utf8TextTest, EveryByteComesBackAndOtherCharactersBecomeQuestionMarks) {
  // A window's text ends at a zero byte, so zero never comes back from one.
  Text everyByte;
  for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
  EXPECT_EQ(utf8ToAnsi(ansiToUtf8(everyByte)), everyByte);
  EXPECT_EQ(utf8ToAnsi("\xE4\xB8\xAD!"), "?!");
  EXPECT_EQ(utf8ToAnsi("a\xC3"), "a?");
}

}  // namespace
