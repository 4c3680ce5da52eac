#include "clock/wake_time.h"

#include <algorithm>

#include "clock/alarm_match.h"
#include "clock/local_minutes.h"
#include "clock/local_time_rules.h"
#include "platform/wake_timer.h"

namespace {

// What the clock thread worked out and set last.
struct WakeTimeMemory {
  std::optional<AlarmSchedule> schedule;
  std::int64_t minute = 0;
  std::optional<std::int64_t> wakeTime;  // none: no wake timer set
} memory;

}  // namespace

std::optional<std::int64_t> NextWakeTime(const AlarmSchedule& schedule, const LocalDateTime& now) {
  const std::int64_t nowMinute = LocalMinuteNumber(now);
  const std::int64_t midnight = nowMinute - nowMinute % kMinutesPerDay;
  std::optional<std::int64_t> next;
  for (int alarm = 1; alarm <= kAlarmCount; ++alarm) {
    if (!ArmedForATimeOfDay(schedule, alarm)) continue;
    const AlarmTime& time = schedule.times[alarm];
    std::int64_t alarmMinute = midnight + time.hour * 60 + time.minute;
    if (alarmMinute <= nowMinute) alarmMinute += kMinutesPerDay;
    const std::int64_t wake = FirstUtcSecondShowing(alarmMinute - 1);
    next = next ? std::min(*next, wake) : wake;
  }
  return next;
}

void KeepWakeTimeSet(const AlarmSchedule& schedule, const LocalDateTime& now) {
  const std::int64_t minute = LocalMinuteNumber(now);
  if (memory.schedule && *memory.schedule == schedule && memory.minute == minute) return;
  memory.schedule = schedule;
  memory.minute = minute;
  const std::optional<std::int64_t> wakeTime = NextWakeTime(schedule, now);
  if (wakeTime == memory.wakeTime) return;
  memory.wakeTime = wakeTime;
  if (wakeTime) {
    setWakeTime(*wakeTime);
  } else {
    cancelWakeTime();
  }
}

void ForgetWakeTime() { memory = WakeTimeMemory{}; }
