#include <gtest/gtest.h>

#include "clock/clock_thread.h"
#include "platform/recording/recording_wake_timer.h"
#include "tests/clock/clock_test_support.h"

namespace {

using namespace clock_test;

constexpr std::int64_t kHour = 3600;

// "set" with the UTC second so many seconds after the simulated day's midnight.
std::string setAt(std::int64_t sinceMidnight) {
  setSimulatedTime(0, 0, 0);
  return "set " + std::to_string(simulatedUtcMilliseconds() / 1000 + sinceMidnight);
}

// The rows with two offsets change the zone in the coming night at 1:00
// UTC: from 2:00 to 3:00 (spring) or from 3:00 back to 2:00 (autumn).
TEST_F(ClockTest, WakeTimeIsOneMinuteBeforeTheNextArmedAlarmByTheZoneRules) {
  const std::int64_t night = 24 * kHour;
  const struct {
    const char* what;
    int offsetBefore, offsetAfter;  // minutes east of UTC
    int nowHour, alarmHour, alarmMinute;
    std::vector<std::string> calls;
  } cases[] = {
      {"later today", 0, 0, 7, 9, 0, {setAt(8 * kHour + 59 * 60)}},
      {"across midnight", 0, 0, 23, 0, 10, {setAt(night + 9 * 60)}},
      {"the minute before is yesterday's", 0, 0, 23, 0, 0, {setAt(night - 60)}},
      {"across a change to summer time", 60, 120, 22, 7, 0, {setAt(night + 4 * kHour + 59 * 60)}},
      {"in the skipped hour: when the clock jumps", 60, 120, 22, 2, 30, {setAt(night + kHour)}},
      {"in the repeated hour: its first pass", 120, 60, 22, 2, 30, {setAt(night + 29 * 60)}},
      {"an hour of 153 wakes nothing", 0, 0, 7, 153, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetProgramForTest();  // midnight UTC of the simulated day
    setSimulatedZone(c.offsetBefore, simulatedUtcMilliseconds() + (night + kHour) * 1000,
                     c.offsetAfter);
    setSimulatedTime(c.nowHour, 0, 0);
    armAlarm(1, c.alarmHour, c.alarmMinute, "up");
    ClockTick();
    EXPECT_EQ(wakeTimerCalls(), c.calls);
  }
}

TEST_F(ClockTest, WakeTimerFollowsTheScheduleAndARingKeepsTheComputerAwake) {
  const std::vector<std::string> expected = {
      setAt(7 * kHour + 29 * 60), "awake on", setAt(8 * kHour + 59 * 60),  // after A's ring: B
      "awake off", setAt(7 * kHour + 59 * 60), "cancel"};
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
  EXPECT_EQ(wakeTimerCalls(), expected);
}

}  // namespace
