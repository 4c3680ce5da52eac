// createDialog and addControl under the real dialog manager.
#include <gtest/gtest.h>

#include <string>

#include "tests/platform/win32/test_dialog.h"

namespace {

std::wstring classOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring windowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

void expectSameRect(const RECT& actual, const RECT& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST(DialogCreation, StyleZeroGivesTheDefaultStyleHiddenWithTheCaption) {
  ScopedDialog dialog(0, 0, "BQC caf\xE9");
  ASSERT_NE(dialog.handle(), 0u);
  EXPECT_EQ(classOf(dialog.hwnd()), L"#32770");
  const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog.hwnd(), GWL_STYLE));
  EXPECT_EQ(style & kDefaultDialogStyle, kDefaultDialogStyle) << std::hex << style;
  EXPECT_EQ(style & (WS_VISIBLE | WS_SYSMENU | WS_THICKFRAME | WS_CHILD), 0u) << std::hex << style;
  EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
  if (GetACP() == 1252) {
    EXPECT_EQ(windowText(dialog.hwnd()), L"BQC caf\u00E9");
  }
}

TEST(DialogCreation, AddsTheFontBitsAndTakesOutVisibleAndSystemModal) {
  ScopedDialog dialog(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SYSMODAL, WS_EX_TOOLWINDOW);
  ASSERT_NE(dialog.handle(), 0u);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog.hwnd(), GWL_STYLE));
  EXPECT_EQ(style & (DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK), 0x54u) << std::hex << style;
  EXPECT_EQ(style & (WS_VISIBLE | DS_SYSMODAL), 0u) << std::hex << style;
  EXPECT_EQ(style & DS_MODALFRAME, 0u) << std::hex << style;
  EXPECT_NE(GetWindowLongW(dialog.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
}

TEST(DialogCreation, PlacesAndSizesInDialogUnitsOfItsEightPointFont) {
  ScopedDialog dialog;
  ASSERT_NE(dialog.handle(), 0u);

  const LOGFONTW font = describe(fontOf(dialog.hwnd()));
  EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(font.lfHeight, -MulDiv(8, logPixelsYOf(dialog.hwnd()), 72));
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_EQ(font.lfItalic, 0);

  RECT client{};
  GetClientRect(dialog.hwnd(), &client);
  expectSameRect(client, toPixels(dialog.hwnd(), 0, 0, kDialogWidth, kDialogHeight));
  // The position is that of the client area's corner on the screen.
  POINT corner{0, 0};
  ClientToScreen(dialog.hwnd(), &corner);
  const RECT origin = toPixels(dialog.hwnd(), kDialogX, kDialogY, 0, 0);
  EXPECT_EQ(corner.x, origin.left);
  EXPECT_EQ(corner.y, origin.top);
}

TEST(DialogCreation, FailsWithZeroUnderAMissingParent) {
  // A parent that is no window: the dialog manager refuses the dialog.
  const WindowHandle gone = createDialog(toWindowHandle(reinterpret_cast<HWND>(0x7FFF0)), "x",
                                         0, 0, 10, 10, 0, 0);
  EXPECT_EQ(gone, 0u);
}

struct KindCase {
  ControlKind kind;
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

TEST(AddControl, EachKindGetsItsClassStylesRectangleAndTheDialogFont) {
  const KindCase cases[] = {
      {ControlKind::PushButton, L"Button", 0x50010000, 0},
      {ControlKind::CheckBox, L"Button", 0x50010003, 0},
      {ControlKind::GroupBox, L"Button", 0x50000007, 0},
      {ControlKind::RadioButton, L"Button", 0x50010009, 0},
      {ControlKind::EditBox, L"Edit", 0x50010080, WS_EX_CLIENTEDGE},
  };
  ScopedDialog dialog;
  ASSERT_NE(dialog.handle(), 0u);
  int id = 1001;
  int y = 5;
  for (const KindCase& c : cases) {
    SCOPED_TRACE(id);
    addControl(dialog.handle(), c.kind, id, "Caption", 7, y, 33, 15);
    HWND control = dialog.control(id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(controlWindow(dialog.handle(), id), toWindowHandle(control));
    EXPECT_EQ(_wcsicmp(classOf(control).c_str(), c.className), 0) << classOf(control);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)), c.style)
        << std::hex << GetWindowLongW(control, GWL_STYLE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE)), c.exStyle)
        << std::hex << GetWindowLongW(control, GWL_EXSTYLE);
    expectSameRect(rectInParent(control), toPixels(dialog.hwnd(), 7, y, 33, 15));
    EXPECT_EQ(fontOf(control), fontOf(dialog.hwnd()));
    EXPECT_EQ(windowText(control), L"Caption");
    ++id;
    y += 20;
  }
}

TEST(AddControl, ControlsAreCreatedInCallOrder) {
  ScopedDialog dialog;
  const int ids[] = {1007, 1003, 1031, 1032};
  for (int id : ids) addControl(dialog.handle(), ControlKind::EditBox, id, "", 5, 5, 20, 10);
  HWND child = GetWindow(dialog.hwnd(), GW_CHILD);
  for (int id : ids) {
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), id);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr);
}

TEST(AddControl, OnAMissingDialogMakesNothing) {
  addControl(0, ControlKind::PushButton, 1001, "x", 0, 0, 10, 10);
  EXPECT_EQ(controlWindow(0, 1001), 0u);
}

}  // namespace
