#include "platform/memory/memory_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <thread>

#include "tests/support/simulated_clock.h"

namespace {

// What the dialog's handler does; set before the dialog thread starts.
std::function<MessageResult(WindowHandle, std::uint32_t, MessageParam)> reaction;
// Whether the dialog was visible at each handler call, in order.
std::vector<bool> visibleAtCall;

MessageResult testHandler(WindowHandle dialog, std::uint32_t message, MessageParam wParam,
                          MessageParam) {
  visibleAtCall.push_back(dialogState(dialog).visible);
  return reaction ? reaction(dialog, message, wParam) : 0;
}

MessageParam command(int id, std::uint32_t code) { return id | (code << 16); }

// A dialog made and run modally on a thread of its own, as the program's
// dialog thread does. Its handle is known once the controls are added.
class DialogThread {
 public:
  explicit DialogThread(std::function<void(WindowHandle)> build = nullptr) {
    auto made = madePromise_.get_future();
    thread_ = std::thread([this, build] {
      const WindowHandle d = createDialog(0, "Test window", 70, 70, 271, 193, 0, 0);
      if (build) build(d);
      madePromise_.set_value(d);
      result_ = runModal(d, &testHandler);
    });
    dialog_ = made.get();
  }
  ~DialogThread() {
    if (thread_.joinable()) {
      endDialog(dialog_, 0);
      thread_.join();
    }
  }
  WindowHandle dialog() const { return dialog_; }
  MessageResult join() {
    thread_.join();
    return result_;
  }

 private:
  std::promise<WindowHandle> madePromise_;
  std::thread thread_;
  WindowHandle dialog_ = 0;
  MessageResult result_ = -1;
};

void addAlarmRow(WindowHandle d) {
  addControl(d, ControlKind::EditBox, 1001, "", 5, 5, 115, 30);
  addControl(d, ControlKind::CheckBox, 1003, "A", 130, 20, 20, 15);
  addControl(d, ControlKind::RadioButton, 1010, "set", 230, 20, 25, 15);
  addControl(d, ControlKind::RadioButton, 1014, "set", 230, 40, 30, 15);
  addControl(d, ControlKind::RadioButton, 1018, "set", 230, 60, 30, 15);
  addControl(d, ControlKind::PushButton, 1035, "Test", 205, 170, 60, 20);
}

std::vector<std::uint32_t> messageIds(WindowHandle d) {
  std::vector<std::uint32_t> ids;
  for (const MemoryMessage& m : handlerMessages(d)) ids.push_back(m.message);
  return ids;
}

class MemoryDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMemoryToolkit();
    resetSimulatedClock();
    reaction = nullptr;
    visibleAtCall.clear();
  }
  void TearDown() override { resetMemoryToolkit(); }
};

TEST_F(MemoryDialogTest, CreateDialogKeepsGeometryAndAdjustsStyleHidden) {
  struct Case {
    std::uint32_t asked, made;
  };
  const Case cases[] = {
      {0, 0x80C000D4},           // the default style
      {0x90C80002, 0x80C80054},  // WS_VISIBLE and DS_SYSMODAL removed, 0x54 added
      {0x00000001, 0x00000055},
  };
  WindowHandle previous = 0;
  for (const Case& c : cases) {
    const WindowHandle d = createDialog(0, "Caption", 70, 71, 271, 193, c.asked, 0x8);
    ASSERT_NE(d, 0u);
    EXPECT_NE(d, previous);
    previous = d;
    const MemoryDialog state = dialogState(d);
    EXPECT_EQ(state.style, c.made) << std::hex << c.asked;
    EXPECT_EQ(state.exStyle, 0x8u);
    EXPECT_EQ(state.caption, "Caption");
    EXPECT_EQ(state.x + state.y + state.width + state.height, 70 + 71 + 271 + 193);
    EXPECT_TRUE(state.exists);
    EXPECT_FALSE(state.visible);
    EXPECT_EQ(lastCreatedDialog(), d);
  }
  EXPECT_EQ(openDialogCount(), 3);

  failNextDialog();
  EXPECT_EQ(createDialog(0, "x", 0, 0, 10, 10, 0, 0), 0u);
  EXPECT_NE(createDialog(0, "x", 0, 0, 10, 10, 0, 0), 0u);  // only the next one fails
}

// Appended rather than joined in front: gcc 12 warns falsely (-Wrestrict)
// about a literal put before a number's text.
Text captionOf(int id) {
  Text caption = "t";
  caption += std::to_string(id);
  return caption;
}

TEST_F(MemoryDialogTest, ControlsTakeTheirKindsStyleInCreationOrder) {
  const WindowHandle d = createDialog(0, "c", 0, 0, 100, 100, 0, 0);
  struct Case {
    ControlKind kind;
    int id;
    std::uint32_t style, exStyle;
  };
  const Case cases[] = {
      {ControlKind::PushButton, 1033, 0x50010000, 0},
      {ControlKind::CheckBox, 1003, 0x50010003, 0},
      {ControlKind::GroupBox, 1002, 0x50000007, 0},
      {ControlKind::RadioButton, 1010, 0x50010009, 0},
      {ControlKind::EditBox, 1032, 0x50010080, 0x200},
  };
  for (const Case& c : cases) addControl(d, c.kind, c.id, captionOf(c.id), 1, 2, 3, 4);
  addControl(0, ControlKind::PushButton, 7, "no dialog", 0, 0, 1, 1);

  const std::vector<MemoryControl> controls = dialogControls(d);
  ASSERT_EQ(controls.size(), std::size(cases));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i].id, cases[i].id);
    EXPECT_EQ(controls[i].style, cases[i].style) << cases[i].id;
    EXPECT_EQ(controls[i].exStyle, cases[i].exStyle) << cases[i].id;
    EXPECT_EQ(controls[i].text, captionOf(cases[i].id));
    EXPECT_NE(controls[i].window, 0u);
    EXPECT_NE(controls[i].window, d);
    EXPECT_EQ(controlWindow(d, cases[i].id), controls[i].window);
  }
  EXPECT_EQ(controlWindow(d, 1034), 0u);
}

TEST_F(MemoryDialogTest, HandlerFirstSeesInitDialogThenSizeBeforeVisible) {
  DialogThread run(addAlarmRow);
  const WindowHandle d = run.dialog();
  sendToDialog(d, kMsgSysCommand, kSysCommandClose, 0);  // handled once the loop runs
  EXPECT_EQ(run.join(), 0);

  const std::vector<MemoryMessage> messages = handlerMessages(d);
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[0].message, kMsgInitDialog);
  EXPECT_EQ(messages[0].wParam, d);
  EXPECT_EQ(messages[1].message, kMsgSize);
  EXPECT_EQ(messages[1].wParam, 0u);  // SIZE_RESTORED
  // 271 x 193 dialog units of an 8-point "MS Sans Serif" at 96 dpi.
  EXPECT_EQ(messages[1].lParam, 407u | (314u << 16));
  ASSERT_GE(visibleAtCall.size(), 3u);
  EXPECT_FALSE(visibleAtCall[0]);
  EXPECT_FALSE(visibleAtCall[1]);
  EXPECT_TRUE(visibleAtCall[2]);
}

TEST_F(MemoryDialogTest, CloseCommandEndsOnlyWhenTheHandlerLeavesItUnhandled) {
  struct Case {
    MessageParam wParam;
    MessageResult handlerResult;
    bool ends;
  };
  const Case cases[] = {
      {0xF060, 0, true},
      {0xF063, 0, true},   // the low four bits do not matter
      {0xF020, 0, false},  // SC_MINIMIZE
      {0xF060, 1, false},  // the handler took it
  };
  for (const Case& c : cases) {
    SetUp();
    reaction = [&c](WindowHandle, std::uint32_t message, MessageParam) {
      return message == kMsgSysCommand ? c.handlerResult : 0;
    };
    DialogThread run;
    sendToDialog(run.dialog(), kMsgSysCommand, c.wParam, 0);
    EXPECT_EQ(dialogState(run.dialog()).exists, !c.ends) << std::hex << c.wParam;
    if (c.ends) {
      EXPECT_EQ(run.join(), 0);
      EXPECT_EQ(messageIds(run.dialog()),
                (std::vector<std::uint32_t>{kMsgInitDialog, kMsgSize, kMsgSysCommand, kMsgClose,
                                            kMsgDestroy, kMsgNcDestroy}));
      EXPECT_EQ(openDialogCount(), 0);
    }
  }
}

TEST_F(MemoryDialogTest, EndDialogResultIsReturnedAndLaterCallsDoNothing) {
  reaction = [](WindowHandle d, std::uint32_t message, MessageParam wParam) -> MessageResult {
    if (message == kMsgCommand && (wParam & 0xFFFF) == 1035) endDialog(d, 42);
    return 0;
  };
  DialogThread run(addAlarmRow);
  const WindowHandle d = run.dialog();
  clickControl(d, 1035);
  EXPECT_EQ(run.join(), 42);
  EXPECT_FALSE(dialogState(d).exists);
  EXPECT_TRUE(dialogControls(d).empty());

  const std::size_t seen = handlerMessages(d).size();
  clickControl(d, 1035);  // returns at once: the dialog is gone
  setControlText(d, 1001, "late");
  EXPECT_EQ(getControlText(d, 1001), "");
  EXPECT_EQ(handlerMessages(d).size(), seen);
}

TEST_F(MemoryDialogTest, ClicksToggleChecksAndMoveTheRadioMark) {
  DialogThread run(addAlarmRow);
  const WindowHandle d = run.dialog();
  clickControl(d, 1003);
  EXPECT_EQ(controlState(d, 1003).check, 1);
  clickControl(d, 1003);
  EXPECT_EQ(controlState(d, 1003).check, 0);

  clickControl(d, 1014);
  clickControl(d, 1010);
  EXPECT_EQ(controlState(d, 1010).check, 1);
  EXPECT_EQ(controlState(d, 1014).check, 0);
  EXPECT_EQ(controlState(d, 1018).check, 0);
  EXPECT_EQ(focusedWindow(), controlWindow(d, 1010));

  const std::vector<MemoryMessage> messages = handlerMessages(d);
  ASSERT_EQ(messages.size(), 2u + 4u);
  EXPECT_EQ(messages[2].message, kMsgCommand);
  EXPECT_EQ(messages[2].wParam, command(1003, kNotifyClicked));
  EXPECT_EQ(messages[2].lParam, controlWindow(d, 1003));
  EXPECT_EQ(messages[5].wParam, command(1010, kNotifyClicked));
}

TEST_F(MemoryDialogTest, EnterAndEscapeArriveAsCommandsOneAndTwo) {
  DialogThread run(addAlarmRow);
  const WindowHandle d = run.dialog();
  setFocusTo(d, 1001);
  pressEnter(d);
  pressEscape(d);
  setFocusTo(d, 1035);
  pressEnter(d);  // a focused push button is clicked instead
  typeIntoControl(d, 1001, "7");

  const std::vector<MemoryMessage> messages = handlerMessages(d);
  ASSERT_EQ(messages.size(), 2u + 4u);
  EXPECT_EQ(messages[2].wParam, command(kIdOk, kNotifyClicked));
  EXPECT_EQ(messages[3].wParam, command(kIdCancel, kNotifyClicked));
  EXPECT_EQ(messages[4].wParam, command(1035, kNotifyClicked));
  EXPECT_EQ(messages[5].wParam, command(1001, kNotifyEditChange));
  EXPECT_EQ(controlState(d, 1001).text, "7");
  EXPECT_TRUE(dialogState(d).exists);
}

TEST_F(MemoryDialogTest, TextFromAnotherThreadWaitsForTheDialogThread) {
  // This thread owns the dialog and handles no message until it pumps.
  const WindowHandle d = createDialog(0, "t", 0, 0, 50, 50, 0, 0);
  addControl(d, ControlKind::EditBox, 1001, "old", 0, 0, 10, 10);
  std::atomic<bool> setReturned{false};
  std::thread clock([&] {
    setControlText(d, 1001, "12:00");
    setReturned = true;
  });
  ASSERT_TRUE(waitForQueuedMessages(d, 1));
  EXPECT_EQ(controlState(d, 1001).text, "old");
  EXPECT_FALSE(setReturned);

  EXPECT_EQ(pumpOneMessage(1), 1);
  clock.join();
  EXPECT_TRUE(setReturned);
  EXPECT_EQ(controlState(d, 1001).text, "12:00");
  EXPECT_EQ(totalSleptMilliseconds(), 0);  // a message was handled instead

  Text read;
  std::thread reader([&] { read = getControlText(d, 1001); });
  ASSERT_TRUE(waitForQueuedMessages(d, 1));
  pumpOneMessage(1);
  reader.join();
  EXPECT_EQ(read, "12:00");
}

TEST_F(MemoryDialogTest, MissingDialogOrControlChangesNothingAndReadsEmpty) {
  setControlText(0, 1001, "x");
  EXPECT_EQ(getControlText(0, 1001), "");
  const WindowHandle d = createDialog(0, "t", 0, 0, 50, 50, 0, 0);
  // Not yet made: returns at once from any thread, even with no pump running.
  std::thread early([d] { setControlText(d, 1001, "too early"); });
  early.join();
  addControl(d, ControlKind::EditBox, 1001, "", 0, 0, 10, 10);
  EXPECT_EQ(getControlText(d, 1001), "");
  setControlText(d, 1099, "x");
  EXPECT_EQ(getControlText(d, 1099), "");
  setControlCheck(d, 1001, 1);  // an edit box carries no check mark
  EXPECT_EQ(controlState(d, 1001).check, 0);
  EXPECT_EQ(queuedMessageCount(d), 0);
}

TEST_F(MemoryDialogTest, DestroyingTheDialogReleasesWaitingCallers) {
  const WindowHandle d = createDialog(0, "t", 0, 0, 50, 50, 0, 0);
  addControl(d, ControlKind::EditBox, 1001, "", 0, 0, 10, 10);
  std::thread clock([d] { setControlText(d, 1001, "never"); });
  ASSERT_TRUE(waitForQueuedMessages(d, 1));
  endDialog(d, 0);
  clock.join();  // would hang if the waiter were not woken
  EXPECT_EQ(queuedMessageCount(d), 0);
  EXPECT_EQ(openDialogCount(), 0);
}

TEST_F(MemoryDialogTest, PumpHandlesOnlyTheFirstWaitingMessage) {
  const WindowHandle d = createDialog(0, "t", 0, 0, 50, 50, 0, 0);
  addControl(d, ControlKind::EditBox, 1001, "", 0, 0, 10, 10);
  addControl(d, ControlKind::EditBox, 1032, "", 0, 0, 10, 10);
  std::thread first([d] { setControlText(d, 1001, "first"); });
  ASSERT_TRUE(waitForQueuedMessages(d, 1));
  std::thread second([d] { setControlText(d, 1032, "second"); });
  ASSERT_TRUE(waitForQueuedMessages(d, 2));

  EXPECT_EQ(pumpOneMessage(1), 1);
  first.join();
  EXPECT_EQ(controlState(d, 1001).text, "first");
  EXPECT_EQ(controlState(d, 1032).text, "");
  EXPECT_EQ(queuedMessageCount(d), 1);
  pumpOneMessage(1);
  second.join();
  EXPECT_EQ(controlState(d, 1032).text, "second");
  EXPECT_EQ(totalSleptMilliseconds(), 0);
}

TEST_F(MemoryDialogTest, PumpWithNothingWaitingSleepsOnTheSimulatedClock) {
  EXPECT_EQ(pumpOneMessage(1), 0);
  EXPECT_EQ(totalSleptMilliseconds(), 1);
  createDialog(0, "t", 0, 0, 50, 50, 0, 0);
  EXPECT_EQ(pumpOneMessage(5), 1);
  EXPECT_EQ(totalSleptMilliseconds(), 6);
}

TEST_F(MemoryDialogTest, FontUseCountsDecideWhetherReleaseTakesEffect) {
  const FontId big = createFont("MS Sans Serif", 24, 1, 0, 0, 0);
  const FontId plain = createFont(Text(40, 'f'), 0, 0, 0, 0, 0);
  EXPECT_GE(big, 4);
  EXPECT_NE(big, plain);
  EXPECT_EQ(fontState(plain).points, 8);
  EXPECT_EQ(fontState(plain).face, Text(31, 'f'));
  EXPECT_EQ(fontState(big).styleBits, 1);

  const WindowHandle d = createDialog(0, "t", 0, 0, 50, 50, 0, 0);
  addControl(d, ControlKind::EditBox, 1001, "", 0, 0, 10, 10);
  addControl(d, ControlKind::EditBox, 1032, "", 0, 0, 10, 10);
  setControlFont(d, 1001, big);
  setControlFont(d, 1001, big);  // the same font again is one use
  setControlFont(d, 1032, big);
  setControlFont(d, 1099, plain);  // no such control
  setControlFont(d, 1032, 999);    // no such font
  EXPECT_EQ(fontState(big).useCount, 2);
  EXPECT_EQ(fontState(plain).useCount, 0);
  EXPECT_EQ(controlState(d, 1032).font, big);

  setControlFont(d, 1032, plain);
  EXPECT_EQ(fontState(big).useCount, 1);
  EXPECT_EQ(fontState(plain).useCount, 1);
  releaseFont(big);
  EXPECT_FALSE(fontState(big).released);  // still shown by 1001

  endDialog(d, 0);  // destroyed controls stop using their fonts
  EXPECT_EQ(fontState(big).useCount, 0);
  releaseFont(big);
  releaseFont(plain);
  EXPECT_TRUE(fontState(big).released);
  EXPECT_TRUE(fontState(plain).released);
}

TEST_F(MemoryDialogTest, FocusFollowsExistingWindowsOnly) {
  const WindowHandle d = createDialog(0, "t", 0, 0, 50, 50, 0, 0);
  addControl(d, ControlKind::EditBox, 1001, "", 0, 0, 10, 10);
  addControl(d, ControlKind::PushButton, 1033, "Exit", 0, 0, 10, 10);
  setFocusTo(d, 1001);
  EXPECT_EQ(focusedWindow(), controlWindow(d, 1001));
  focusWindow(0xDEAD0);  // no such window: the focus stays
  EXPECT_EQ(focusedWindow(), controlWindow(d, 1001));
  focusWindow(controlWindow(d, 1033));
  EXPECT_EQ(focusedWindow(), controlWindow(d, 1033));
  endDialog(d, 0);
  EXPECT_EQ(focusedWindow(), 0u);
}

}  // namespace
