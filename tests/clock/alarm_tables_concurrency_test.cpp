// The clock thread ticking while the dialog thread's side rewrites the alarm
// tables as fast as it can: every time, arm string and text the clock uses
// must be one that was written whole.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "clock/clock_thread.h"
#include "speech/speech.h"
#include "tests/clock/clock_test_support.h"

namespace {

using namespace clock_test;

class AlarmTablesConcurrencyTest : public ClockTest {};

// The clock stands at 07:30. Alarms A, B, D and E are armed and flip between
// 07:31 and 08:30: neither rings, but a pair torn between the two (07:30)
// would. Alarm C stays at 07:30 and its arm flips, so it rings on and off;
// its text flips between two long texts, spoken whole or not at all.
const AlarmTime kEarlyPair{7, 31};
const AlarmTime kLatePair{8, 30};
const AlarmTime kDuePair{7, 30};
const Text kArmedWithC = "AAAAA";
const Text kArmedWithoutC = "AA AA";
const Text kFirstText(300, 'x');
const Text kSecondText = Text(150, 'y') + Text(150, 'z');

bool isWrittenPair(const AlarmTime& time) {
  return (time.hour == kEarlyPair.hour && time.minute == kEarlyPair.minute) ||
         (time.hour == kLatePair.hour && time.minute == kLatePair.minute);
}

TEST_F(AlarmTablesConcurrencyTest, ClockNeverSeesATornTimeArmStringOrText) {
  // One alarm announcement on every other tick, so the texts are read often.
  RingTickLimit = 1;
  for (int alarm = 1; alarm <= 5; ++alarm) {
    StoreAlarmTime(alarm, alarm == 3 ? kDuePair : kEarlyPair);
    StoreAlarmText(alarm, kFirstText);
  }
  StoreArmString(kArmedWithC);

  std::atomic<int> ticks{0};
  std::atomic<int> badSchedules{0};
  std::atomic<int> wrongRings{0};
  // Runs on the clock thread in each tick's pause: what the clock's own
  // readers see, and which alarm the tick's match made ring.
  setSleepObserver([&](std::uint32_t milliseconds) {
    if (milliseconds != 500) return;
    setSimulatedTime(7, 30, 0);
    ++ticks;
    const AlarmSchedule schedule = AlarmScheduleNow();
    bool whole = schedule.armString == kArmedWithC || schedule.armString == kArmedWithoutC;
    for (int alarm = 1; alarm <= 5; ++alarm) {
      if (alarm == 3) {
        whole = whole && schedule.times[3].hour == 7 && schedule.times[3].minute == 30;
      } else {
        whole = whole && isWrittenPair(schedule.times[alarm]);
      }
    }
    if (!whole) ++badSchedules;
    const int ringing = RingStateNow().ringingAlarm;
    if (ringing != 0 && ringing != 3) ++wrongRings;
  });
  setSimulatedTime(7, 30, 0);

  constexpr int kRewrites = 20000;
  constexpr int kLeastTicks = 2000;
  std::thread clockThread([] {
    ClockThread(0);
    ReleaseThreadVoice();
  });
  // Which value each write takes is drawn pseudo-randomly (the same sequence
  // on every run), so a clock thread running in step with the writer still
  // sees every value.
  std::uint32_t draw = 12345;
  auto coin = [&draw] {
    draw = draw * 1103515245u + 12345u;
    return (draw >> 16) & 1u;
  };
  for (int rewrites = 0; rewrites < kRewrites || ticks < kLeastTicks; ++rewrites) {
    for (int alarm = 1; alarm <= 5; ++alarm) {
      StoreAlarmTime(alarm, alarm == 3 ? kDuePair : coin() ? kLatePair : kEarlyPair);
      if (rewrites % 5 == alarm - 1) StoreAlarmText(alarm, coin() ? kSecondText : kFirstText);
    }
    StoreArmString(coin() ? kArmedWithoutC : kArmedWithC);
    StoreAlarmText(3, coin() ? kSecondText : kFirstText);
    std::this_thread::yield();  // gives the clock thread its turns at the tables
  }
  QuitFlag = true;
  clockThread.join();

  EXPECT_EQ(badSchedules, 0);
  EXPECT_EQ(wrongRings, 0);
  const std::vector<Text> texts = spokenTexts();
  ASSERT_FALSE(texts.empty());
  int torn = 0;
  for (const Text& text : texts) {
    if (text != kFirstText && text != kSecondText) ++torn;
  }
  EXPECT_EQ(torn, 0) << "of " << texts.size() << " spoken texts";
  EXPECT_EQ(refreshCalls, 0);  // alarm E never rang
}

}  // namespace
