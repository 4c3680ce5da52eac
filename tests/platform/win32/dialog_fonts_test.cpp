// Toolkit fonts: their device height, description, use count and release.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/win32/dialog/font_height.h"
#include "tests/platform/win32/test_dialog.h"

namespace {

constexpr int kTime = 1001;
constexpr int kSpeakText = 1032;

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = std::make_unique<ScopedDialog>();
    ASSERT_NE(dialog_->handle(), 0u);
    addControl(handle(), ControlKind::EditBox, kTime, "", 5, 5, 115, 30);
    addControl(handle(), ControlKind::EditBox, kSpeakText, "", 10, 145, 250, 15);
  }
  WindowHandle handle() const { return dialog_->handle(); }
  HWND control(int id) const { return dialog_->control(id); }
  int dpi() const { return logPixelsYOf(control(kTime)); }

  std::unique_ptr<ScopedDialog> dialog_;
};

TEST_F(FontTest, TheProgramsTwoFontsGetTheirDeviceHeights) {
  const FontId large = createFont("MS Sans Serif", 24, 1, 0, 0, 0);
  const FontId small = createFont("MS Sans Serif", 10, 1, 0, 0, 0);
  EXPECT_NE(large, small);
  setControlFont(handle(), kTime, large);
  setControlFont(handle(), kSpeakText, small);

  const LOGFONTW time = describe(fontOf(control(kTime)));
  const LOGFONTW speak = describe(fontOf(control(kSpeakText)));
  EXPECT_EQ(time.lfHeight, fontHeightForPoints(24, dpi()));
  EXPECT_EQ(speak.lfHeight, fontHeightForPoints(10, dpi()));
  if (dpi() == 96) {
    EXPECT_EQ(time.lfHeight, -32);
    EXPECT_EQ(speak.lfHeight, -13);
  }
  for (const LOGFONTW& font : {time, speak}) {
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, 0);
    EXPECT_EQ(font.lfEscapement, 0);
  }
  // The dialog's own font is untouched.
  EXPECT_EQ(describe(fontOf(dialog_->hwnd())).lfWeight, FW_NORMAL);
}

TEST_F(FontTest, StyleBitsCharsetPitchAndAngleAreTaken) {
  const FontId font = createFont("Arial", 12, 2 | 4 | 8, 1, FF_SWISS | VARIABLE_PITCH, 900);
  setControlFont(handle(), kTime, font);
  const LOGFONTW made = describe(fontOf(control(kTime)));
  EXPECT_EQ(made.lfWeight, FW_NORMAL);
  EXPECT_EQ(made.lfItalic, 1);
  EXPECT_EQ(made.lfUnderline, 1);
  EXPECT_EQ(made.lfStrikeOut, 1);
  EXPECT_EQ(made.lfCharSet, 1);
  EXPECT_EQ(made.lfPitchAndFamily, FF_SWISS | VARIABLE_PITCH);
  EXPECT_EQ(made.lfEscapement, 900);
  EXPECT_EQ(made.lfOrientation, 900);
}

TEST_F(FontTest, ZeroPointsMeansEightAndLongFaceNamesAreCutTo31) {
  const std::string longFace(40, 'F');
  const FontId font = createFont(longFace, 0, 0, 0, 0, 0);
  setControlFont(handle(), kTime, font);
  const LOGFONTW made = describe(fontOf(control(kTime)));
  EXPECT_EQ(made.lfHeight, fontHeightForPoints(8, dpi()));
  EXPECT_EQ(std::wstring(made.lfFaceName), std::wstring(31, L'F'));
}

TEST_F(FontTest, OneFontIsMadeOnceAndSharedByItsControls) {
  const FontId font = createFont("MS Sans Serif", 10, 1, 0, 0, 0);
  setControlFont(handle(), kTime, font);
  setControlFont(handle(), kSpeakText, font);
  EXPECT_EQ(fontOf(control(kTime)), fontOf(control(kSpeakText)));
}

TEST_F(FontTest, UnknownFontOrControlChangesNothingAndFontZeroIsTheDialogFont) {
  const HFONT dialogFont = fontOf(dialog_->hwnd());
  setControlFont(handle(), kTime, 999);
  EXPECT_EQ(fontOf(control(kTime)), dialogFont);
  const FontId font = createFont("MS Sans Serif", 24, 1, 0, 0, 0);
  setControlFont(handle(), 1034, font);
  setControlFont(handle(), kTime, font);
  EXPECT_NE(fontOf(control(kTime)), dialogFont);
  setControlFont(handle(), kTime, 0);
  EXPECT_EQ(fontOf(control(kTime)), dialogFont);
}

TEST_F(FontTest, AFontInUseOutlivesItsReleaseUntilItsDialogIsGone) {
  const FontId font = createFont("MS Sans Serif", 24, 1, 0, 0, 0);
  setControlFont(handle(), kTime, font);
  const HFONT made = fontOf(control(kTime));
  releaseFont(font);
  EXPECT_EQ(GetObjectType(made), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(fontOf(control(kTime)), made);
  dialog_.reset();
  EXPECT_EQ(GetObjectType(made), 0u);
}

TEST_F(FontTest, AFontNoLongerShownIsDeletedOnRelease) {
  const FontId font = createFont("MS Sans Serif", 10, 1, 0, 0, 0);
  setControlFont(handle(), kSpeakText, font);
  const HFONT made = fontOf(control(kSpeakText));
  setControlFont(handle(), kSpeakText, 0);  // the control goes back to the dialog font
  EXPECT_EQ(GetObjectType(made), static_cast<DWORD>(OBJ_FONT));
  releaseFont(font);
  EXPECT_EQ(GetObjectType(made), 0u);
}

TEST_F(FontTest, TheProgramsOrderReleasesBothFontsAfterTheWindowHasEnded) {
  const FontId large = createFont("MS Sans Serif", 24, 1, 0, 0, 0);
  setControlFont(handle(), kTime, large);
  const HFONT made = fontOf(control(kTime));
  const HFONT dialogFont = fontOf(dialog_->hwnd());
  dialog_.reset();
  EXPECT_EQ(GetObjectType(made), static_cast<DWORD>(OBJ_FONT));  // not given back yet
  releaseFont(large);
  EXPECT_EQ(GetObjectType(made), 0u);
  // The dialog manager's own font went with the dialog.
  EXPECT_EQ(GetObjectType(dialogFont), 0u);
}

}  // namespace
