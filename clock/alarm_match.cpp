#include "clock/alarm_match.h"

int MatchingAlarm(const AlarmSchedule& schedule, std::int16_t hour, Number minute) {
  int match = 0;
  for (int alarm = 1; alarm <= kAlarmCount; ++alarm) {
    const AlarmTime& time = schedule.times[alarm];
    if (characterCode(schedule.armString, alarm) == 'A' && time.hour == hour &&
        static_cast<Number>(time.minute) == minute) {
      match = alarm;  // a later alarm overrides an earlier one
    }
  }
  return match;
}

bool ArmedForATimeOfDay(const AlarmSchedule& schedule, int alarm) {
  const AlarmTime& time = schedule.times[alarm];
  return characterCode(schedule.armString, alarm) == 'A' && time.hour >= 0 && time.hour <= 23 &&
         time.minute >= 0 && time.minute <= 59;
}
