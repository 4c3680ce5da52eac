#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using std::chrono::steady_clock;

// Yields until `pause` has passed. Bounded by the clock rather than by a
// count of yields, which can last a minute on a busy machine.
void yieldFor(steady_clock::duration pause) {
  const steady_clock::time_point until = steady_clock::now() + pause;
  while (steady_clock::now() < until) std::this_thread::yield();
}

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
    yieldFor(std::chrono::microseconds(200));
    --inside;
  }
};

// Ends the test program at once, without exit handlers: a hung thread may
// hold a lock that they would wait for.
[[noreturn]] void endTestProgramNow() {
#ifdef _WIN32
  TerminateProcess(GetCurrentProcess(), 1);
#endif
  std::_Exit(1);
}

// Runs body, watched by a thread that only sleeps and looks at the clock, so
// that it fires whatever state the body's threads and locks are in: a
// deadlock fails the program instead of hanging it.
void runWithDeadline(const char* what, const std::function<void()>& body) {
  std::atomic<bool> finished{false};
  std::thread watchdog([&finished, what] {
    const steady_clock::time_point end = steady_clock::now() + std::chrono::seconds(20);
    while (!finished) {
      if (steady_clock::now() >= end) {
        std::fprintf(stderr, "%s did not finish within 20 s: deadlock\n", what);
        std::fflush(stderr);
        endTestProgramNow();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  struct Finish {
    std::atomic<bool>& finished;
    std::thread& watchdog;
    ~Finish() {
      finished = true;
      watchdog.join();
    }
  } finish{finished, watchdog};
  body();
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

// The "Test" button's work, on the dialog thread: say what the box holds,
// counting the clicks that come while the clock thread announces.
std::atomic<bool> clockAnnouncing{false};
std::atomic<int> clicksDuringAnnouncements{0};
thread_local bool onClockThread = false;
MessageResult speakBoxOnTest(WindowHandle window, std::uint32_t message, MessageParam wParam,
                             MessageParam) {
  if (message == kMsgCommand && (wParam & 0xFFFF) == IDC_TEST) {
    TextToSpeak = getControlText(window, IDC_SPEAK_TEXT);
    // Give the clock thread time to get into its announcement, which is
    // about to wait for this very thread to show its text.
    const steady_clock::time_point until = steady_clock::now() + std::chrono::milliseconds(2);
    bool during = false;
    while (!(during = clockAnnouncing.exchange(false)) && steady_clock::now() < until) {
      std::this_thread::yield();
    }
    if (during) ++clicksDuringAnnouncements;
    yieldFor(std::chrono::microseconds(100));
    SpeakText();
  }
  return 0;
}

void markClockAnnouncing() {
  onClockThread = true;
  clockAnnouncing = true;
  StoreAlarmText(kAlarmE, "ring ring");
}

TEST_F(SpeechTest, RingingAlarmAndTestButtonDoNotBlockEachOther) {
  OverlapWatch watch;
  setSpeakingObserver([&watch](const Text&) {
    watch.speak();
    if (onClockThread) clockAnnouncing = false;
  });
  clicksDuringAnnouncements = 0;
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
  EXPECT_GT(clicksDuringAnnouncements, 0) << "no click came while the clock was announcing";
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
