#include "clock/due_alarms.h"

#include <algorithm>

#include "clock/alarm_match.h"
#include "clock/local_minutes.h"

namespace {

// The latest minute number before `beforeMinute` that shows the alarm's time.
std::int64_t latestMinuteOf(AlarmTime time, std::int64_t beforeMinute) {
  const std::int64_t last = beforeMinute - 1;
  const std::int64_t back = (last - (time.hour * 60 + time.minute)) % kMinutesPerDay;
  return last - (back < 0 ? back + kMinutesPerDay : back);
}

}  // namespace

DueAlarms FindDueAlarms(const AlarmSchedule& schedule,
                        const std::optional<WallClockReading>& previous,
                        const WallClockReading& now) {
  DueAlarms due;
  due.ringing = MatchingAlarm(schedule, static_cast<std::int16_t>(now.local.hour),
                              static_cast<Number>(now.local.minute));
  if (!previous) return due;
  const std::int64_t previousMinute = LocalMinuteNumber(previous->local);
  const std::int64_t nowMinute = LocalMinuteNumber(now.local);
  if (nowMinute - previousMinute < 2) return due;
  due.skippedMinutes = true;

  const std::int64_t awaySeconds =
      std::max<std::int64_t>(0, (now.utcMilliseconds - previous->utcMilliseconds) / 1000);
  const std::int64_t nowSecond = nowMinute * 60 + now.local.second;
  for (int alarm = 1; alarm <= kAlarmCount; ++alarm) {
    if (!ArmedForATimeOfDay(schedule, alarm)) continue;
    const std::int64_t skipped = latestMinuteOf(schedule.times[alarm], nowMinute);
    if (skipped <= previousMinute) continue;
    const std::int64_t late = std::min(awaySeconds, nowSecond - skipped * 60);
    if (late > kLongestLateRingSeconds) {
      due.missed.push_back(alarm);
    } else if (alarm > due.ringing) {
      due.ringing = alarm;  // a later alarm overrides an earlier one
      due.lateSeconds = late;
    }
  }
  return due;
}
