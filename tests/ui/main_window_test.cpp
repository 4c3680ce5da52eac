// ShowMainWindow against the in-memory window: the window, its 34 controls
// in creation order, the alarm rows as loaded, the arm boxes and the fonts.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "alarms/alarm_tables.h"
#include "alarms/window_flags.h"
#include "app/app_state.h"
#include "platform/memory/memory_dialog.h"
#include "tests/support/simulated_clock.h"

namespace {

using K = ControlKind;

struct ExpectedControl {
  int id;
  ControlKind kind;
  const char* caption;  // the hour and minute boxes: first-run values
  int x, y, width, height;
  const char* accessibleName = "";  // the names screen readers read, where set
};

// The window's controls in creation (tab) order, as a first run shows them.
const ExpectedControl kFirstRunControls[] = {
    {1001, K::EditBox, "", 5, 5, 115, 30, "Time"},
    {1002, K::GroupBox, "Alarms", 125, 5, 140, 95},
    {1003, K::CheckBox, "A", 130, 20, 20, 15, "Alarm A armed"},
    {1004, K::CheckBox, "B", 130, 40, 20, 15, "Alarm B armed"},
    {1005, K::CheckBox, "C", 130, 60, 20, 15, "Alarm C armed"},
    {1006, K::CheckBox, "D", 130, 80, 20, 15, "Alarm D armed"},
    {1007, K::EditBox, "12", 150, 20, 20, 15, "Alarm A hour"},
    {1008, K::EditBox, "0", 175, 20, 20, 15, "Alarm A minute"},
    {1009, K::CheckBox, "p.m.", 200, 20, 25, 15, "Alarm A p.m."},
    {1010, K::RadioButton, "set", 230, 20, 25, 15, "Set alarm A"},
    {1011, K::EditBox, "12", 150, 40, 20, 15, "Alarm B hour"},
    {1012, K::EditBox, "0", 175, 40, 20, 15, "Alarm B minute"},
    {1013, K::CheckBox, "p.m.", 200, 40, 25, 15, "Alarm B p.m."},
    {1014, K::RadioButton, "set", 230, 40, 30, 15, "Set alarm B"},
    {1015, K::EditBox, "12", 150, 60, 20, 15, "Alarm C hour"},
    {1016, K::EditBox, "0", 175, 60, 20, 15, "Alarm C minute"},
    {1017, K::CheckBox, "p.m.", 200, 60, 25, 15, "Alarm C p.m."},
    {1018, K::RadioButton, "set", 230, 60, 30, 15, "Set alarm C"},
    {1019, K::EditBox, "12", 150, 80, 20, 15, "Alarm D hour"},
    {1020, K::EditBox, "0", 175, 80, 20, 15, "Alarm D minute"},
    {1021, K::CheckBox, "p.m.", 200, 80, 25, 15, "Alarm D p.m."},
    {1022, K::RadioButton, "set", 230, 80, 30, 15, "Set alarm D"},
    {1023, K::PushButton, "Update", 5, 40, 115, 25},
    {1024, K::PushButton, "Silencer", 5, 70, 115, 25},
    {1025, K::PushButton, "Brightquill", 5, 105, 115, 25},
    {1026, K::CheckBox, "E", 130, 110, 20, 15, "Alarm E armed"},
    {1027, K::EditBox, "12", 150, 110, 20, 15, "Alarm E hour"},
    {1028, K::EditBox, "0", 175, 110, 20, 15, "Alarm E minute"},
    {1029, K::CheckBox, "p.m.", 200, 110, 25, 15, "Alarm E p.m."},
    {1030, K::RadioButton, "set", 230, 110, 30, 15, "Set alarm E"},
    {1031, K::GroupBox, "Text to Speak", 5, 135, 260, 30},
    {1032, K::EditBox, "", 10, 145, 250, 15, "Text to Speak"},
    {1033, K::PushButton, "Exit", 5, 170, 35, 20},
    {1035, K::PushButton, "Test", 205, 170, 60, 20},
};

// Each kind's complete style and extended style.
std::uint32_t styleOf(ControlKind kind) {
  switch (kind) {
    case K::PushButton: return 0x50010000;
    case K::CheckBox: return 0x50010003;
    case K::GroupBox: return 0x50000007;
    case K::RadioButton: return 0x50010009;
    case K::EditBox: return 0x50010080;
  }
  return 0;
}
std::uint32_t exStyleOf(ControlKind kind) { return kind == K::EditBox ? 0x200 : 0; }

// Ids of each alarm row A..E.
struct RowIds {
  int arm, hour, minute, pm;
};
const RowIds kRows[5] = {{1003, 1007, 1008, 1009},
                         {1004, 1011, 1012, 1013},
                         {1005, 1015, 1016, 1017},
                         {1006, 1019, 1020, 1021},
                         {1026, 1027, 1028, 1029}};

// ShowMainWindow running on a dialog thread of its own, as the program runs
// it; the window is closed and the thread joined when this goes away.
class ShownMainWindow {
 public:
  ShownMainWindow() : thread_([] { ShowMainWindow(); }) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (window_ == 0 || !dialogState(window_).running) {
      window_ = MainWindow.load();
      if (std::chrono::steady_clock::now() > deadline) break;
      std::this_thread::yield();
    }
  }
  ~ShownMainWindow() { close(); }
  WindowHandle window() const { return window_; }
  void close() {
    if (!thread_.joinable()) return;
    endDialog(window_, 0);
    thread_.join();
  }

 private:
  std::thread thread_;
  WindowHandle window_ = 0;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    resetMemoryToolkit();
    resetSimulatedClock();
    ClearAlarmTables();
    ArmFlags.fill(false);
    PmFlags.fill(false);
    MainWindow = 0;
    QuitFlag = false;
  }
};

TEST_F(MainWindowTest, WindowAndControlsFollowTheLayoutTable) {
  ShownMainWindow shown;
  const WindowHandle window = shown.window();
  ASSERT_NE(window, 0u);
  EXPECT_EQ(window, lastCreatedDialog());

  const MemoryDialog dialog = dialogState(window);
  EXPECT_EQ(dialog.caption, "BQC (www.brightquill.com) v1.00  (C) 2026 Brightquill Software");
  EXPECT_EQ(dialog.parent, 0u);
  EXPECT_EQ(dialog.x, 70);
  EXPECT_EQ(dialog.y, 70);
  EXPECT_EQ(dialog.width, 271);
  EXPECT_EQ(dialog.height, 193);
  EXPECT_EQ(dialog.style, 0x80C000D4u);
  EXPECT_EQ(dialog.exStyle, 0u);
  EXPECT_TRUE(dialog.visible);

  const std::vector<MemoryControl> controls = dialogControls(window);
  ASSERT_EQ(controls.size(), std::size(kFirstRunControls));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ExpectedControl& want = kFirstRunControls[i];
    const MemoryControl& got = controls[i];
    SCOPED_TRACE("control " + std::to_string(want.id));
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.text, want.caption);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_EQ(got.style, styleOf(want.kind));
    EXPECT_EQ(got.exStyle, exStyleOf(want.kind));
    EXPECT_EQ(got.accessibleName, want.accessibleName);
    // A first run: nothing checked, no "set" marked.
    EXPECT_EQ(got.check, 0);
  }
  for (int alarm = 1; alarm <= 5; ++alarm) {
    EXPECT_FALSE(ArmFlags[alarm]) << "alarm " << alarm;
    EXPECT_FALSE(PmFlags[alarm]) << "alarm " << alarm;
  }
}

TEST_F(MainWindowTest, HandlerSeesTheStartOfTheModalRun) {
  ShownMainWindow shown;
  const std::vector<MemoryMessage> messages = handlerMessages(shown.window());
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[0].message, kMsgInitDialog);
  EXPECT_EQ(messages[1].message, kMsgSize);
  shown.close();
  EXPECT_FALSE(dialogState(shown.window()).exists);
}

struct RowCase {
  std::int16_t hour, minute;
  const char* shownHour;
  const char* shownMinute;
  bool pm;
};

// The same rule in every row: each case is shown once in each of A..E.
TEST_F(MainWindowTest, RowsShowTwelveHourTimesWithTheirPmBox) {
  const RowCase cases[5] = {{0, 0, "12", "0", false},
                            {12, 0, "12", "0", true},
                            {19, 5, "7", "5", true},
                            {23, 59, "11", "59", true},
                            {1, 30, "1", "30", false}};
  for (int shift = 0; shift < 5; ++shift) {
    reset();
    for (int alarm = 1; alarm <= 5; ++alarm) {
      const RowCase& c = cases[(alarm - 1 + shift) % 5];
      StoreAlarmTime(alarm, AlarmTime{c.hour, c.minute});
    }
    ShownMainWindow shown;
    ASSERT_NE(shown.window(), 0u);
    for (int alarm = 1; alarm <= 5; ++alarm) {
      const RowCase& c = cases[(alarm - 1 + shift) % 5];
      const RowIds& row = kRows[alarm - 1];
      SCOPED_TRACE("alarm " + std::to_string(alarm) + " at " + std::to_string(c.hour) + ":" +
                   std::to_string(c.minute));
      EXPECT_EQ(controlState(shown.window(), row.hour).text, c.shownHour);
      EXPECT_EQ(controlState(shown.window(), row.minute).text, c.shownMinute);
      EXPECT_EQ(controlState(shown.window(), row.pm).check, c.pm ? 1 : 0);
      EXPECT_EQ(PmFlags[alarm], c.pm);
      // The clock keeps comparing the 24-hour values.
      EXPECT_EQ(AlarmTimeOf(alarm).hour, c.hour);
      EXPECT_EQ(AlarmTimeOf(alarm).minute, c.minute);
    }
  }
}

TEST_F(MainWindowTest, ArmBoxesFollowTheArmString) {
  const struct {
    const char* armString;
    std::array<bool, 5> armed;
  } cases[] = {
      {"  A  ", {false, false, true, false, false}},
      {"AAAAA", {true, true, true, true, true}},
      {"A   A", {true, false, false, false, true}},
      {"aX A ", {false, false, false, true, false}},  // only "A" arms
      {"     ", {false, false, false, false, false}},
  };
  for (const auto& c : cases) {
    reset();
    StoreArmString(c.armString);
    ShownMainWindow shown;
    ASSERT_NE(shown.window(), 0u);
    for (int alarm = 1; alarm <= 5; ++alarm) {
      SCOPED_TRACE(std::string("arm string \"") + c.armString + "\", alarm " +
                   std::to_string(alarm));
      EXPECT_EQ(controlState(shown.window(), kRows[alarm - 1].arm).check,
                c.armed[alarm - 1] ? 1 : 0);
      EXPECT_EQ(ArmFlags[alarm], c.armed[alarm - 1]);
    }
    EXPECT_EQ(ArmStringNow(), c.armString);
  }
}

TEST_F(MainWindowTest, TimeAndSpeakBoxesGetBoldFontsThatGoBackWithTheWindow) {
  ShownMainWindow shown;
  const WindowHandle window = shown.window();
  ASSERT_NE(window, 0u);
  const FontId timeFont = controlState(window, 1001).font;
  const FontId speakFont = controlState(window, 1032).font;
  ASSERT_NE(timeFont, 0);
  ASSERT_NE(speakFont, 0);
  ASSERT_NE(timeFont, speakFont);

  const MemoryFont time = fontState(timeFont);
  EXPECT_EQ(time.face, "MS Sans Serif");
  EXPECT_EQ(time.points, 24);
  EXPECT_EQ(time.styleBits, 1);
  const MemoryFont speak = fontState(speakFont);
  EXPECT_EQ(speak.face, "MS Sans Serif");
  EXPECT_EQ(speak.points, 10);
  EXPECT_EQ(speak.styleBits, 1);

  // Every other control keeps the window's font.
  for (const MemoryControl& control : dialogControls(window)) {
    if (control.id == 1001 || control.id == 1032) continue;
    EXPECT_EQ(control.font, 0) << control.id;
  }
  EXPECT_FALSE(fontState(timeFont).released);
  shown.close();
  EXPECT_TRUE(fontState(timeFont).released);
  EXPECT_TRUE(fontState(speakFont).released);
}

TEST_F(MainWindowTest, WindowThatCannotBeMadeReturnsAtOnce) {
  failNextDialog();
  ShowMainWindow();
  EXPECT_EQ(MainWindow.load(), 0u);
  EXPECT_EQ(openDialogCount(), 0);
  for (int alarm = 1; alarm <= 5; ++alarm) EXPECT_FALSE(PmFlags[alarm] || ArmFlags[alarm]);
}

}  // namespace
