#include <gtest/gtest.h>

#include "clock/clock_thread.h"
#include "platform/recording/recording_wake_timer.h"
#include "tests/clock/clock_test_support.h"

namespace {

using namespace clock_test;

constexpr std::int64_t kHour = 3600;

// UTC midnight of the simulated day, in seconds.
std::int64_t simulatedMidnight() {
  setSimulatedTime(0, 0, 0);
  return simulatedUtcMilliseconds() / 1000;
}

std::string setAt(std::int64_t utcSeconds) { return "set " + std::to_string(utcSeconds); }

// The zone rules move the clock from 2:00 to 3:00 (spring) or from 3:00 back
// to 2:00 (autumn) in the coming night, at 1:00 UTC.
TEST_F(ClockTest, WakeTimeIsOneMinuteBeforeTheNextArmedAlarmByTheZoneRules) {
  const std::int64_t midnight = simulatedMidnight();
  const std::int64_t night = midnight + 24 * kHour;
  const struct {
    const char* what;
    int offsetBefore;  // minutes east of UTC
    int offsetAfter;
    int nowHour;
    int alarmHour;
    int alarmMinute;
    std::vector<std::string> calls;
  } cases[] = {
      {"later today", 0, 0, 7, 9, 0, {setAt(midnight + 8 * kHour + 59 * 60)}},
      {"across midnight", 0, 0, 23, 0, 10, {setAt(night + 9 * 60)}},
      {"the minute before is yesterday's", 0, 0, 23, 0, 0, {setAt(night - 60)}},
      {"across a change to summer time", 60, 120, 22, 7, 0, {setAt(night + 4 * kHour + 59 * 60)}},
      {"in the skipped hour: when the clock jumps", 60, 120, 22, 2, 30, {setAt(night + kHour)}},
      {"in the repeated hour: its first pass", 120, 60, 22, 2, 30, {setAt(night + 29 * 60)}},
      {"an hour of 153 wakes nothing", 0, 0, 7, 153, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetProgramForTest();
    setSimulatedZone(c.offsetBefore);
    setSimulatedZoneChange((night + kHour) * 1000, c.offsetAfter);
    setSimulatedTime(c.nowHour, 0, 0);
    armAlarm(1, c.alarmHour, c.alarmMinute, "up");
    ClockTick();
    EXPECT_EQ(wakeTimerCalls(), c.calls);
  }
}

TEST_F(ClockTest, WakeTimerFollowsTheScheduleAndARingKeepsTheComputerAwake) {
  const std::int64_t midnight = simulatedMidnight();
  setSimulatedTime(7, 29, 50);
  armAlarm(1, 7, 30, "up");
  armAlarm(2, 9, 0, "later");
  tickAndListen(30);  // rings from 7:30:00 on
  SilenceRinging();
  ClockTick();
  StoreAlarmTime(1, AlarmTime{8, 0});
  ClockTick();
  StoreArmString("     ");
  tickAndListen(2);
  EXPECT_EQ(wakeTimerCalls(), (std::vector<std::string>{
                                  setAt(midnight + 7 * kHour + 29 * 60), "awake on",
                                  setAt(midnight + 8 * kHour + 59 * 60),  // after A's ring: B
                                  "awake off", setAt(midnight + 7 * kHour + 59 * 60), "cancel"}));
}

}  // namespace
