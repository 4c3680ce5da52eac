#include "platform/win32/dialog/dialog_template.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The template as the dialog manager reads it: 16-bit words.
std::vector<WORD> wordsOf(const std::vector<DWORD>& dialogTemplate) {
  std::vector<WORD> words(dialogTemplate.size() * 2);
  std::memcpy(words.data(), dialogTemplate.data(), words.size() * sizeof(WORD));
  return words;
}

std::vector<WORD> stringWords(const std::wstring& text) {
  std::vector<WORD> words(text.begin(), text.end());
  words.push_back(0);
  return words;
}

TEST(DialogTemplate, IsAnExtendedTemplateWithoutItemsMenuOrClass) {
  const std::vector<DWORD> built =
      buildDialogTemplate(0x80C000D4, WS_EX_TOOLWINDOW, 70, 70, 271, 193);
  const std::vector<WORD> words = wordsOf(built);

  std::vector<WORD> expected = {
      1, 0xFFFF,                     // version 1, extended signature
      0, 0,                          // help id
      WS_EX_TOOLWINDOW, 0,           // extended style, low word first
      0x00D4, 0x80C0,                // style
      0,                             // no items
      70, 70, 271, 193,              // x, y, width, height
      0,                             // no menu
      0,                             // the default dialog class
  };
  for (WORD w : stringWords(L" ")) expected.push_back(w);  // a title of one blank
  expected.push_back(8);          // point size
  expected.push_back(FW_NORMAL);  // weight
  expected.push_back(0);          // not italic, character set 0
  for (WORD w : stringWords(L"MS Sans Serif")) expected.push_back(w);

  ASSERT_GE(words.size(), expected.size());
  EXPECT_EQ(std::vector<WORD>(words.begin(), words.begin() + expected.size()), expected);
  // Only padding to the last DWORD follows.
  EXPECT_LE(words.size(), expected.size() + 1);
}

TEST(DialogTemplate, NegativeCoordinatesAreKeptAsSixteenBitValues) {
  const std::vector<WORD> words = wordsOf(buildDialogTemplate(0, 0, -5, -300, 10, 20));
  EXPECT_EQ(static_cast<short>(words[9]), -5);
  EXPECT_EQ(static_cast<short>(words[10]), -300);
}

}  // namespace
