#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text.h"

namespace {

// The system's own rules for the Western code page, which the test prefixes
// use: accented capitals and the three capitals of 0x8A..0x9F have lower
// case forms; the multiplication sign and sharp s do not change.
TEST(LowerCaseByTheSystem, FollowsTheCodePageAboveAscii) {
  if (GetACP() != 1252) GTEST_SKIP() << "system code page is " << GetACP();
  EXPECT_EQ(lowerCase("\xC9T\xC9 \xC0\xDE"), "\xE9t\xE9 \xE0\xFE");
  EXPECT_EQ(lowerCase("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
  EXPECT_EQ(lowerCase("\xD7\xDF\xE9\xFF"), "\xD7\xDF\xE9\xFF");
  EXPECT_EQ(lowerCase(Text("\xC9\0\xC9", 3)), Text("\xE9\0\xE9", 3));
}

}  // namespace
