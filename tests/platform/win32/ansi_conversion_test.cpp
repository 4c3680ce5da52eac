#include "platform/win32/dialog/ansi_conversion.h"

#include <gtest/gtest.h>

namespace {

// The expectations for bytes above 127 are those of the Western code page,
// which the Wine prefixes of the test runs use.
class AnsiConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) GTEST_SKIP() << "system code page is " << GetACP() << ", not 1252";
  }
};

TEST_F(AnsiConversionTest, EmptyTextStaysEmptyBothWays) {
  EXPECT_EQ(ansiToWide(""), L"");
  EXPECT_EQ(wideToAnsi(std::wstring()), "");
  EXPECT_EQ(wideToAnsi(nullptr, 3), "");
}

TEST_F(AnsiConversionTest, BytesAboveAsciiBecomeTheirCodePageCharacters) {
  EXPECT_EQ(ansiToWide("caf\xE9"), L"caf\u00E9");
  EXPECT_EQ(ansiToWide("\x80 5"), L"\u20AC 5");
  EXPECT_EQ(ansiToWide("\x93quoted\x94"), L"\u201Cquoted\u201D");
  EXPECT_EQ(wideToAnsi(L"caf\u00E9"), "caf\xE9");
  EXPECT_EQ(wideToAnsi(L"\u20AC\u00FF"), "\x80\xFF");
}

TEST_F(AnsiConversionTest, EveryByteSurvivesARoundTrip) {
  Text all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::wstring wide = ansiToWide(all);
  EXPECT_EQ(wide.size(), all.size());
  EXPECT_EQ(wideToAnsi(wide), all);
}

TEST_F(AnsiConversionTest, ZeroBytesAreKept) {
  const Text withZero("a\0b", 3);
  EXPECT_EQ(ansiToWide(withZero), std::wstring(L"a\0b", 3));
  EXPECT_EQ(wideToAnsi(std::wstring(L"a\0b", 3)), withZero);
}

TEST_F(AnsiConversionTest, CharactersTheCodePageLacksBecomeTheDefaultCharacter) {
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  const char fallback = static_cast<char>(info.DefaultChar[0]);
  EXPECT_EQ(wideToAnsi(L"a\u4E2Db"), Text("a") + fallback + "b");
  EXPECT_EQ(wideToAnsi(L"\u3042\u4E2D"), Text(2, fallback));
}

TEST_F(AnsiConversionTest, CountLimitsWhatIsConverted) {
  const wchar_t wide[] = L"hello";
  EXPECT_EQ(wideToAnsi(wide, 3), "hel");
  EXPECT_EQ(wideToAnsi(wide, 0), "");
}

}  // namespace
