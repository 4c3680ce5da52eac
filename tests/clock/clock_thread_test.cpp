#include <gtest/gtest.h>

#include "clock/clock_thread.h"
#include "clock/time_text.h"
#include "tests/clock/clock_test_support.h"

namespace {

using namespace clock_test;

class ClockThreadTest : public ClockTest {};

TEST_F(ClockThreadTest, QuitFlagSetBeforehandRunsNoTick) {
  QuitFlag = true;
  TimeText = "unchanged";
  EXPECT_EQ(ClockThread(0), 0u);
  EXPECT_EQ(totalSleptMilliseconds(), 0);
  EXPECT_EQ(TimeText, "unchanged");
}

TEST_F(ClockThreadTest, QuitFlagEndsTheLoopAfterTheRunningTick) {
  int ticks = 0;
  setSleepObserver([&ticks](std::uint32_t ms) {
    if (ms == 500 && ++ticks == 5) QuitFlag = true;
  });
  setSimulatedTime(8, 0, 0);
  ClockThread(0);
  EXPECT_EQ(ticks, 5);
}

TEST_F(ClockThreadTest, QuitFlagSetWhileSpeakingLetsTheTickFinish) {
  setSimulatedTime(7, 30, 0);
  armAlarm(1, 7, 30, "ring");
  setSpeakingObserver([](const Text&) { QuitFlag = true; });
  ClockThread(0);
  EXPECT_EQ(spokenUtterances().size(), 1u);
  EXPECT_EQ(RingStateNow().ringTick, 1);
  // The tick still paused after speaking.
  EXPECT_GE(totalSleptMilliseconds(), 750);
}

}  // namespace
