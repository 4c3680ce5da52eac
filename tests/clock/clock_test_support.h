#pragma once
// Common set-up of the clock tests: a quiet ring state, empty alarm tables,
// simulated time, the recording voice, the in-memory window and a counting
// stand-in for alarm E's saying fetch.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "alarms/alarm_tables.h"
#include "app/app_state.h"
#include "clock/clock_tick.h"
#include "clock/ring_state.h"
#include "inspiration/saying_schedule.h"
#include "platform/memory/memory_dialog.h"
#include "platform/recording/recording_voice.h"
#include "speech/speech.h"
#include "tests/support/program_reset.h"
#include "tests/support/simulated_clock.h"

namespace clock_test {

// Calls of the saying fetch made by the tick, and the text each one "fetched".
inline std::atomic<int> refreshCalls{0};
inline void countingRefresh() {
  const int call = ++refreshCalls;
  StoreAlarmText(kAlarmE, "saying " + std::to_string(call));
}

inline void armAlarm(int alarm, int hour, int minute, const Text& text) {
  StoreAlarmTime(alarm, AlarmTime{static_cast<std::int16_t>(hour),
                                  static_cast<std::int16_t>(minute)});
  StoreAlarmText(alarm, text);
  Text armString = ArmStringNow();
  armString[alarm - 1] = 'A';
  StoreArmString(armString);
}

class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetProgramForTest();
    refreshCalls = 0;
    AlarmESayingRefresh = countingRefresh;
  }
  void TearDown() override {
    AlarmESayingRefresh = RefreshAlarmESaying;
    ReleaseThreadVoice();
    MainWindow = 0;
    QuitFlag = false;
    resetSimulatedClock();
    resetRecordingVoice();
    resetMemoryToolkit();
  }

  // Runs count ticks; returns the ring ticks (1-based tick numbers of this
  // run) on which something was spoken.
  static std::vector<int> tickAndListen(int count) {
    std::vector<int> spokenOn;
    for (int tick = 1; tick <= count; ++tick) {
      const std::size_t before = spokenUtterances().size();
      ClockTick();
      if (spokenUtterances().size() > before) spokenOn.push_back(tick);
    }
    return spokenOn;
  }
};

}  // namespace clock_test
