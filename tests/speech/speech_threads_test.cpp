#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include "alarms/alarm_tables.h"
#include "alarms/window_flags.h"
#include "clock/clock_thread.h"
#include "clock/clock_tick.h"
#include "clock/ring_state.h"
#include "inspiration/saying_schedule.h"
#include "platform/dialog.h"
#include "tests/speech/speech_test_support.h"
#include "ui/control_ids.h"
#include "ui/main_window.h"

namespace {

// Counts the voices speaking at the same moment; each utterance takes a
// little while, so overlapping requests would be seen.
struct OverlapWatch {
  std::atomic<int> inside{0};
  std::atomic<int> most{0};
  void speak() {
    const int now = ++inside;
    int seen = most.load();
    while (now > seen && !most.compare_exchange_weak(seen, now)) {
    }
    for (int i = 0; i < 50; ++i) std::this_thread::yield();
    --inside;
  }
};

// Runs body on its own thread and gives up the whole test program when it
// has not finished in time: a deadlock must fail, not hang.
void runWithDeadline(const char* what, std::function<void()> body) {
  std::packaged_task<void()> task(std::move(body));
  std::future<void> done = task.get_future();
  std::thread runner(std::move(task));
  if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
    std::fprintf(stderr, "%s did not finish: deadlock\n", what);
    std::fflush(stderr);
    std::_Exit(1);
  }
  runner.join();
  done.get();
}

TEST_F(SpeechTest, TwoThreadsTakeTurnsEachSayingItsOwnText) {
  OverlapWatch watch;
  setSpeakingObserver([&watch](const Text&) { watch.speak(); });
  constexpr int kRequests = 200;
  std::thread::id ids[2];
  auto speaker = [](const Text& text, std::thread::id* id) {
    *id = std::this_thread::get_id();
    for (int i = 0; i < kRequests; ++i) {
      TextToSpeak = text;
      SpeakText();
    }
    ReleaseThreadVoice();
  };
  runWithDeadline("two speakers", [&] {
    std::thread first(speaker, "from the first thread", &ids[0]);
    std::thread second(speaker, "from the second thread", &ids[1]);
    first.join();
    second.join();
  });

  EXPECT_EQ(watch.most, 1);
  const std::vector<Utterance> spoken = spokenUtterances();
  ASSERT_EQ(spoken.size(), 2u * kRequests);
  for (const Utterance& utterance : spoken) {
    ASSERT_TRUE(utterance.thread == ids[0] || utterance.thread == ids[1]);
    EXPECT_EQ(utterance.text,
              utterance.thread == ids[0] ? "from the first thread" : "from the second thread");
  }
  EXPECT_EQ(liveVoiceCount(), 0);
  EXPECT_FALSE(voiceReleasedOnForeignThread());
  EXPECT_EQ(invalidVoiceUseCount(), 0);
}

// The "Test" button's work, on the dialog thread: say what the box holds.
std::atomic<bool> clockAnnouncing{false};
MessageResult speakBoxOnTest(WindowHandle window, std::uint32_t message, MessageParam wParam,
                             MessageParam) {
  if (message == kMsgCommand && (wParam & 0xFFFF) == IDC_TEST) {
    TextToSpeak = getControlText(window, IDC_SPEAK_TEXT);
    // Give the clock thread time to get into its announcement, which is
    // about to wait for this very thread to show its text.
    for (int i = 0; i < 2000 && !clockAnnouncing.exchange(false); ++i) std::this_thread::yield();
    for (int i = 0; i < 100; ++i) std::this_thread::yield();
    SpeakText();
  }
  return 0;
}

void markClockAnnouncing() {
  clockAnnouncing = true;
  StoreAlarmText(kAlarmE, "ring ring");
}

TEST_F(SpeechTest, RingingAlarmAndTestButtonDoNotBlockEachOther) {
  OverlapWatch watch;
  setSpeakingObserver([&watch](const Text&) { watch.speak(); });
  ClearAlarmTables();
  ResetRingState();
  // Alarm E rings on every other tick: each announcement is a first one, so
  // the saying step tells when the clock is about to show and speak.
  RingTickLimit = 1;
  AlarmESayingRefresh = markClockAnnouncing;
  StoreAlarmTime(kAlarmE, AlarmTime{7, 30});
  StoreArmString("    A");
  setSleepObserver([](std::uint32_t) { setSimulatedTime(7, 30, 0); });
  setSimulatedTime(7, 30, 0);

  std::promise<WindowHandle> windowMade;
  std::thread::id dialogThreadId, clockThreadId;
  constexpr int kClicks = 100;
  runWithDeadline("ringing alarm against Test", [&] {
    std::thread dialogThread([&] {
      dialogThreadId = std::this_thread::get_id();
      const WindowHandle window = createDialog(0, "main", 70, 70, 271, 193, 0, 0);
      MainWindow = window;
      addControl(window, ControlKind::EditBox, IDC_TIME, "", 5, 5, 115, 30);
      addControl(window, ControlKind::EditBox, IDC_SPEAK_TEXT, "", 10, 145, 250, 15);
      addControl(window, ControlKind::PushButton, IDC_TEST, "Test", 205, 170, 60, 20);
      windowMade.set_value(window);
      runModal(window, speakBoxOnTest);
      ReleaseThreadVoice();
    });
    const WindowHandle window = windowMade.get_future().get();
    while (!dialogState(window).running) std::this_thread::yield();
    std::thread clockThread([&] {
      clockThreadId = std::this_thread::get_id();
      ClockThread(0);
      ReleaseThreadVoice();
    });
    for (int click = 0; click < kClicks; ++click) clickControl(window, IDC_TEST);
    QuitFlag = true;
    clockThread.join();
    endDialog(window, 0);
    dialogThread.join();
  });
  AlarmESayingRefresh = RefreshAlarmESaying;

  int fromDialog = 0, fromClock = 0;
  for (const Utterance& utterance : spokenUtterances()) {
    if (utterance.thread == dialogThreadId) ++fromDialog;
    if (utterance.thread == clockThreadId) ++fromClock;
  }
  EXPECT_EQ(fromDialog, kClicks);
  EXPECT_GT(fromClock, 0);
  EXPECT_EQ(watch.most, 1);
  EXPECT_EQ(liveVoiceCount(), 0);
  EXPECT_FALSE(voiceReleasedOnForeignThread());
  EXPECT_EQ(invalidVoiceUseCount(), 0);
}

// The same meeting with the real window and its "Test" button: the clock
// thread rings alarm A on every other tick while the user types into the
// "Text to Speak" box and clicks "Test" again and again.
TEST_F(SpeechTest, RingingAlarmAndTheWindowsTestButtonBothGetTheirSay) {
  OverlapWatch watch;
  setSpeakingObserver([&watch](const Text&) { watch.speak(); });
  ClearAlarmTables();
  ResetRingState();
  ArmFlags.fill(false);
  PmFlags.fill(false);
  RingTickLimit = 1;
  StoreAlarmTime(1, AlarmTime{7, 30});
  StoreAlarmText(1, "ring ring");
  StoreArmString("A    ");
  setSleepObserver([](std::uint32_t) { setSimulatedTime(7, 30, 0); });
  setSimulatedTime(7, 30, 0);

  std::thread::id dialogThreadId, clockThreadId;
  constexpr int kClicks = 100;
  runWithDeadline("ringing alarm against the window's Test button", [&] {
    std::thread dialogThread([&] {
      dialogThreadId = std::this_thread::get_id();
      ShowMainWindow();
      ReleaseThreadVoice();
    });
    WindowHandle window = 0;
    while (window == 0 || !dialogState(window).running) {
      window = MainWindow.load();
      std::this_thread::yield();
    }
    std::thread clockThread([&] {
      clockThreadId = std::this_thread::get_id();
      ClockThread(0);
      ReleaseThreadVoice();
    });
    // The clicks start once the alarm is ringing.
    while (spokenUtterances().empty()) std::this_thread::yield();
    for (int click = 0; click < kClicks; ++click) {
      typeIntoControl(window, IDC_SPEAK_TEXT, "test " + std::to_string(click));
      clickControl(window, IDC_TEST);
    }
    QuitFlag = true;
    clockThread.join();
    endDialog(window, 0);
    dialogThread.join();
  });

  int fromDialog = 0, fromClock = 0, typedSaid = 0;
  for (const Utterance& utterance : spokenUtterances()) {
    if (utterance.thread == clockThreadId) {
      ++fromClock;
      EXPECT_EQ(utterance.text, "ring ring");
    } else if (utterance.thread == dialogThreadId) {
      ++fromDialog;
      // What the box held: the typed text, or the alarm's text when the
      // clock showed it in between.
      if (utterance.text.rfind("test ", 0) == 0) {
        ++typedSaid;
      } else {
        EXPECT_EQ(utterance.text, "ring ring");
      }
    }
  }
  EXPECT_EQ(fromDialog, kClicks);
  EXPECT_GT(fromClock, 0);
  EXPECT_GT(typedSaid, 0);
  EXPECT_EQ(watch.most, 1);
  EXPECT_EQ(liveVoiceCount(), 0);
  EXPECT_FALSE(voiceReleasedOnForeignThread());
  EXPECT_EQ(invalidVoiceUseCount(), 0);
}

}  // namespace
