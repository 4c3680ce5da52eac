// runModal, endDialog, the toolkit's default handling and pumpOneMessage.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "tests/platform/win32/test_dialog.h"

namespace {

constexpr int kEdit = 1032;
constexpr int kEndCommand = 1033;     // the handler ends the dialog with kEndResult
constexpr int kAskCommand = 1035;     // the handler asks itself kAnswerMessage
constexpr int kPumpCommand = 1025;    // the handler takes one message itself
constexpr MessageResult kEndResult = 42;
constexpr UINT kAnswerMessage = WM_APP + 7;  // the handler answers 77
constexpr MessageResult kAnswer = 77;

struct Call {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool visible;
  bool foreground;
  bool zoomed;
  bool insidePump;  // arrived while the handler was taking a message itself
};

// What the handler saw; only the dialog thread (the test's) touches these.
std::vector<Call> calls;
LRESULT answerSeen = 0;
bool pumping = false;
HFONT fontSeenWhileRunning = nullptr;

MessageResult recordingHandler(WindowHandle dialog, std::uint32_t message, MessageParam wParam,
                               MessageParam lParam) {
  HWND window = toHwnd(dialog);
  calls.push_back({message, wParam, static_cast<LPARAM>(lParam), IsWindowVisible(window) != 0,
                   GetForegroundWindow() == window, IsZoomed(window) != 0, pumping});
  if (message == WM_COMMAND && LOWORD(wParam) == kPumpCommand) {
    // As the program's Exit button does: one pending message, taken the way
    // the dialog takes its own.
    PostMessageW(GetDlgItem(window, kEdit), WM_KEYDOWN, VK_ESCAPE, 0);
    pumping = true;
    pumpOneMessage(1);
    pumping = false;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(kEndCommand, BN_CLICKED), 0);
  }
  if (message == kAnswerMessage) return kAnswer;
  if (message == WM_COMMAND && LOWORD(wParam) == kAskCommand) {
    answerSeen = SendMessageW(window, kAnswerMessage, 0, 0);
    fontSeenWhileRunning = fontOf(window);
  }
  if (message == WM_COMMAND && LOWORD(wParam) == kEndCommand) endDialog(dialog, kEndResult);
  return 0;
}

void CALLBACK destroyOverdue(HWND dialog, UINT, UINT_PTR, DWORD) {
  ADD_FAILURE() << "the dialog did not end";
  DestroyWindow(dialog);
}

// Runs the dialog on a watchdog: a dialog that does not end is destroyed
// after a few seconds, so the fault fails the test instead of hanging it.
MessageResult runWatched(WindowHandle dialog) {
  constexpr UINT_PTR kWatchdog = 0xB0;
  SetTimer(toHwnd(dialog), kWatchdog, 5000, destroyOverdue);
  const MessageResult result = runModal(dialog, recordingHandler);
  if (IsWindow(toHwnd(dialog))) KillTimer(toHwnd(dialog), kWatchdog);
  return result;
}

class RunModalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    answerSeen = 0;
    pumping = false;
    fontSeenWhileRunning = nullptr;
    ASSERT_NE(dialog_.handle(), 0u);
    addControl(dialog_.handle(), ControlKind::EditBox, kEdit, "", 10, 10, 150, 15);
  }

  void post(UINT message, WPARAM wParam, HWND to = nullptr) {
    PostMessageW(to != nullptr ? to : dialog_.hwnd(), message, wParam, 0);
  }
  void postCommand(int id) { post(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); }

  MessageResult run() { return runWatched(dialog_.handle()); }

  std::vector<UINT> messagesSeen() const {
    std::vector<UINT> messages;
    for (const Call& call : calls) messages.push_back(call.message);
    return messages;
  }
  const Call* firstCommand(int id) const {
    for (const Call& call : calls) {
      if (call.message == WM_COMMAND && LOWORD(call.wParam) == id) return &call;
    }
    return nullptr;
  }
  // Index of the first call with this message, or -1.
  int indexOf(UINT message) const {
    const std::vector<UINT> messages = messagesSeen();
    const auto found = std::find(messages.begin(), messages.end(), message);
    return found == messages.end() ? -1 : static_cast<int>(found - messages.begin());
  }

  ScopedDialog dialog_;
};

TEST_F(RunModalTest, HandlerGetsInitAndSizeBeforeTheWindowShowsThenEndsItWithAResult) {
  const RECT client = toPixels(dialog_.hwnd(), 0, 0, kDialogWidth, kDialogHeight);
  postCommand(kEndCommand);
  EXPECT_EQ(run(), kEndResult);
  EXPECT_FALSE(IsWindow(dialog_.hwnd()));

  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].message, static_cast<UINT>(WM_INITDIALOG));
  EXPECT_EQ(calls[0].wParam, reinterpret_cast<WPARAM>(dialog_.hwnd()));
  EXPECT_EQ(calls[0].lParam, 0);
  EXPECT_FALSE(calls[0].visible);
  EXPECT_EQ(calls[1].message, static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(calls[1].wParam, static_cast<WPARAM>(SIZE_RESTORED));
  EXPECT_EQ(calls[1].lParam, MAKELPARAM(client.right, client.bottom));
  EXPECT_FALSE(calls[1].visible);
  const std::vector<UINT> messages = messagesSeen();
  EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_INITDIALOG), 1);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_ACTIVATE), 0);

  const Call* end = firstCommand(kEndCommand);
  ASSERT_NE(end, nullptr);
  EXPECT_TRUE(end->visible);
  EXPECT_TRUE(end->foreground);
  EXPECT_EQ(HIWORD(end->wParam), kNotifyClicked);
  // endDialog closes, then destroys: the handler sees all three, in order.
  const int close = indexOf(WM_CLOSE);
  const int destroy = indexOf(WM_DESTROY);
  const int ncDestroy = indexOf(WM_NCDESTROY);
  EXPECT_GT(close, static_cast<int>(end - calls.data()));
  EXPECT_GT(destroy, close);
  EXPECT_GT(ncDestroy, destroy);
}

TEST_F(RunModalTest, EscAndEnterArriveAsCommandsAndLeaveTheDialogOpen) {
  HWND edit = dialog_.control(kEdit);
  post(WM_KEYDOWN, VK_ESCAPE, edit);
  post(WM_KEYDOWN, VK_RETURN, edit);
  postCommand(kEndCommand);
  EXPECT_EQ(run(), kEndResult);
  const Call* esc = firstCommand(kIdCancel);
  const Call* enter = firstCommand(kIdOk);
  ASSERT_NE(esc, nullptr);
  ASSERT_NE(enter, nullptr);
  EXPECT_LT(esc, enter);
  EXPECT_LT(enter, firstCommand(kEndCommand));  // the dialog was still running
  // Neither key closed it: the first close follows the end command.
  EXPECT_GT(indexOf(WM_CLOSE), static_cast<int>(firstCommand(kEndCommand) - calls.data()));
}

TEST_F(RunModalTest, AMessageTakenInsideTheHandlerGoesThroughTheActiveDialog) {
  postCommand(kPumpCommand);  // the handler ends the dialog afterwards
  EXPECT_EQ(run(), kEndResult);
  const Call* esc = firstCommand(kIdCancel);
  ASSERT_NE(esc, nullptr) << "Esc was not turned into a command";
  EXPECT_TRUE(esc->insidePump);
}

TEST_F(RunModalTest, TheCloseCommandEndsTheRunWithZero) {
  // The low four bits of the command are the system's own and are ignored.
  post(WM_SYSCOMMAND, SC_CLOSE | 0x2);
  EXPECT_EQ(run(), 0);
  EXPECT_FALSE(IsWindow(dialog_.hwnd()));
  const int command = indexOf(WM_SYSCOMMAND);
  ASSERT_GE(command, 0);
  EXPECT_GT(indexOf(WM_CLOSE), command);
  EXPECT_GT(indexOf(WM_DESTROY), indexOf(WM_CLOSE));
}

TEST_F(RunModalTest, AHandledMessageAnswersWithTheHandlersResult) {
  postCommand(kAskCommand);
  postCommand(kEndCommand);
  EXPECT_EQ(run(), kEndResult);
  EXPECT_EQ(answerSeen, kAnswer);
  // A message the handler leaves alone gets the dialog manager's answer.
  EXPECT_NE(fontSeenWhileRunning, nullptr);
}

TEST_F(RunModalTest, ActivationReachesTheHandlerOnlyAsNonClientActivation) {
  // A second window takes the activation and gives it back while the
  // dialog runs.
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 400, 400, 50, 50,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  struct Switch {
    static void CALLBACK activateOther(HWND dialog, UINT, UINT_PTR, DWORD) {
      KillTimer(dialog, 1);
      SetActiveWindow(FindWindowW(L"STATIC", L"other"));
      SetActiveWindow(dialog);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kEndCommand, BN_CLICKED), 0);
    }
  };
  SetTimer(dialog_.hwnd(), 1, 1, Switch::activateOther);
  EXPECT_EQ(run(), kEndResult);
  DestroyWindow(other);
  EXPECT_GE(indexOf(WM_NCACTIVATE), 0);
  EXPECT_EQ(indexOf(WM_ACTIVATE), -1);
}

TEST_F(RunModalTest, EndFromAnotherThreadIsCarriedOutByTheDialogThread) {
  std::thread other([this] { endDialog(dialog_.handle(), 9); });
  EXPECT_EQ(run(), 9);
  other.join();
  EXPECT_FALSE(IsWindow(dialog_.hwnd()));
  EXPECT_GE(indexOf(WM_CLOSE), 0);
}

TEST_F(RunModalTest, ADialogThatNoLongerExistsReturnsAtOnce) {
  DestroyWindow(dialog_.hwnd());
  EXPECT_EQ(runModal(dialog_.handle(), recordingHandler), 0);
  EXPECT_TRUE(calls.empty());
  endDialog(dialog_.handle(), 5);  // nothing to end
}

TEST(RunModal, AMaximisedStyleIsSizedAndShownMaximised) {
  calls.clear();
  ScopedDialog dialog(WS_POPUP | WS_CAPTION | WS_MAXIMIZE);
  ASSERT_NE(dialog.handle(), 0u);
  PostMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(kEndCommand, BN_CLICKED), 0);
  EXPECT_EQ(runWatched(dialog.handle()), kEndResult);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[1].message, static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(calls[1].wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
  const auto end = std::find_if(calls.begin(), calls.end(), [](const Call& call) {
    return call.message == WM_COMMAND && LOWORD(call.wParam) == kEndCommand;
  });
  ASSERT_NE(end, calls.end());
  EXPECT_TRUE(end->zoomed);
}

TEST(PumpOneMessage, HandlesOnlyTheFirstWaitingMessageAndCountsOpenDialogs) {
  const int before = pumpOneMessage(0);
  {
    ScopedDialog dialog;
    ASSERT_NE(dialog.handle(), 0u);
    EXPECT_EQ(pumpOneMessage(0), before + 1);
    MSG leftover;
    while (PeekMessageW(&leftover, nullptr, 0, 0, PM_REMOVE)) {
    }
    PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP + 2, 0, 0);
    pumpOneMessage(1);
    MSG waiting;
    EXPECT_FALSE(PeekMessageW(&waiting, nullptr, WM_APP + 1, WM_APP + 1, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageW(&waiting, nullptr, WM_APP + 2, WM_APP + 2, PM_NOREMOVE));
    pumpOneMessage(1);
    EXPECT_FALSE(PeekMessageW(&waiting, nullptr, WM_APP + 2, WM_APP + 2, PM_NOREMOVE));
  }
  EXPECT_EQ(pumpOneMessage(0), before);
}

TEST(PumpOneMessage, WithNothingWaitingPausesAndReturns) {
  MSG leftover;
  while (PeekMessageW(&leftover, nullptr, 0, 0, PM_REMOVE)) {
  }
  const auto start = std::chrono::steady_clock::now();
  pumpOneMessage(20);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(15));
}

}  // namespace
