// Control texts and checks, from the dialog's thread and from another one.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/platform/win32/test_dialog.h"

namespace {

constexpr int kEdit = 1032;
constexpr int kButton = 1023;

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(dialog_.handle(), 0u);
    addControl(dialog_.handle(), ControlKind::EditBox, kEdit, "", 10, 10, 150, 15);
    addControl(dialog_.handle(), ControlKind::PushButton, kButton, "Update", 10, 30, 60, 15);
  }

  ScopedDialog dialog_;
};

TEST_F(ControlTest, TextsRoundTripIncludingBytesAboveAscii) {
  const Text texts[] = {"7", "Update", "Wake up, it is 7:30", "", "caf\xE9 \x80", Text(300, 'x')};
  for (const Text& text : texts) {
    setControlText(dialog_.handle(), kEdit, text);
    EXPECT_EQ(getControlText(dialog_.handle(), kEdit), text);
  }
  EXPECT_EQ(getControlText(dialog_.handle(), kButton), "Update");
  if (GetACP() == 1252) {
    setControlText(dialog_.handle(), kEdit, "\x93q\x94");
    wchar_t wide[8] = {};
    GetWindowTextW(dialog_.control(kEdit), wide, 8);
    EXPECT_STREQ(wide, L"\u201Cq\u201D");
  }
}

TEST_F(ControlTest, TextOfAControlThatDoesNotExistIsEmptyAndSettingItChangesNothing) {
  setControlText(dialog_.handle(), kEdit, "kept");
  setControlText(dialog_.handle(), 1034, "lost");
  setControlText(0, kEdit, "lost");
  EXPECT_EQ(getControlText(dialog_.handle(), 1034), "");
  EXPECT_EQ(getControlText(0, kEdit), "");
  EXPECT_EQ(getControlText(dialog_.handle(), kEdit), "kept");
  EXPECT_EQ(controlWindow(dialog_.handle(), 1034), 0u);
}

TEST_F(ControlTest, TextSetFromAnotherThreadTakesEffectWhenTheDialogThreadTakesMessages) {
  setControlText(dialog_.handle(), kEdit, "before");
  std::atomic<bool> done{false};
  std::thread clock([&] {
    setControlText(dialog_.handle(), kEdit, " 7:30:00 a");
    done = true;
  });

  // Wait until the text is waiting for this thread, without taking it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while ((HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) == 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  EXPECT_NE(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE, 0u);
  EXPECT_FALSE(done);
  EXPECT_EQ(getControlText(dialog_.handle(), kEdit), "before");

  EXPECT_TRUE(pumpUntil([&] { return done.load(); }));
  clock.join();
  EXPECT_EQ(getControlText(dialog_.handle(), kEdit), " 7:30:00 a");
}

TEST_F(ControlTest, TextReadFromAnotherThreadWhileTheDialogThreadTakesMessages) {
  setControlText(dialog_.handle(), kEdit, "Text to Speak \xE9");
  std::atomic<bool> done{false};
  Text seen;
  std::thread reader([&] {
    seen = getControlText(dialog_.handle(), kEdit);
    done = true;
  });
  EXPECT_TRUE(pumpUntil([&] { return done.load(); }));
  reader.join();
  EXPECT_EQ(seen, "Text to Speak \xE9");
}

TEST_F(ControlTest, FocusMovesToTheControlAskedFor) {
  ShowWindow(dialog_.hwnd(), SW_SHOW);
  focusWindow(toWindowHandle(dialog_.control(kButton)));
  EXPECT_EQ(focusedWindow(), toWindowHandle(dialog_.control(kButton)));
  focusWindow(controlWindow(dialog_.handle(), kEdit));
  EXPECT_EQ(focusedWindow(), toWindowHandle(dialog_.control(kEdit)));
}

class CheckTest : public ::testing::Test {
 protected:
  // Laid out as alarm rows are: radio buttons between edit and check boxes.
  void SetUp() override {
    ASSERT_NE(dialog_.handle(), 0u);
    int y = 5;
    for (int row = 0; row < 3; ++row, y += 20) {
      addControl(dialog_.handle(), ControlKind::CheckBox, 1003 + row, "A", 5, y, 20, 15);
      addControl(dialog_.handle(), ControlKind::EditBox, 1007 + 4 * row, "12", 30, y, 20, 15);
      addControl(dialog_.handle(), ControlKind::RadioButton, kRadios[row], "set", 60, y, 30, 15);
    }
  }
  UINT checkOf(int id) const {
    return static_cast<UINT>(SendMessageW(dialog_.control(id), BM_GETCHECK, 0, 0));
  }

  static constexpr int kRadios[3] = {1010, 1014, 1018};
  ScopedDialog dialog_;
};

TEST_F(CheckTest, SetControlCheckChecksOnlyThatControl) {
  setControlCheck(dialog_.handle(), 1004, 1);
  setControlCheck(dialog_.handle(), kRadios[2], 1);
  EXPECT_EQ(checkOf(1003), BST_UNCHECKED);
  EXPECT_EQ(checkOf(1004), BST_CHECKED);
  EXPECT_EQ(checkOf(1005), BST_UNCHECKED);
  EXPECT_EQ(checkOf(kRadios[0]), BST_UNCHECKED);
  EXPECT_EQ(checkOf(kRadios[2]), BST_CHECKED);
  setControlCheck(dialog_.handle(), 1034, 1);  // no such control: nothing happens
}

TEST_F(CheckTest, AllRadioButtonsOfTheDialogFormOneGroup) {
  setControlCheck(dialog_.handle(), 1003, 1);
  for (int clicked : kRadios) {
    SCOPED_TRACE(clicked);
    SendMessageW(dialog_.control(clicked), BM_CLICK, 0, 0);
    for (int radio : kRadios) EXPECT_EQ(checkOf(radio), radio == clicked ? BST_CHECKED : 0u);
    EXPECT_EQ(checkOf(1003), BST_CHECKED);  // check boxes are not part of it
  }
}

}  // namespace
