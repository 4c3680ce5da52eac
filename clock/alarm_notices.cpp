#include "clock/alarm_notices.h"

#include <cstdio>

namespace {

// "alarm A, set for 7:00 a.m." (the caller makes the first letter capital).
Text alarmAndTime(int alarm, AlarmTime time) {
  const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
  char text[64];
  std::snprintf(text, sizeof text, "alarm %c, set for %d:%02d %s", 'A' + alarm - 1, hour12,
                static_cast<int>(time.minute), time.hour < 12 ? "a.m." : "p.m.");
  return text;
}

Text capitalised(Text text) {
  if (!text.empty()) text[0] = 'A';  // every notice begins with "alarm"
  return text;
}

}  // namespace

Text LatenessSentence(int alarm, AlarmTime time, std::int64_t lateSeconds) {
  const std::int64_t minutes = (lateSeconds + 30) / 60;
  return capitalised(alarmAndTime(alarm, time)) + ", rings " + std::to_string(minutes) +
         (minutes == 1 ? " minute" : " minutes") + " late.";
}

Text MissedNotice(const std::vector<int>& alarms, const AlarmSchedule& schedule) {
  Text notice;
  for (std::size_t i = 0; i < alarms.size(); ++i) {
    // Each time ends with its "a.m." or "p.m."; a comma parts the items.
    if (i > 0) notice += i + 1 == alarms.size() ? ", and " : ", ";
    notice += alarmAndTime(alarms[i], schedule.times[alarms[i]]);
  }
  return capitalised(notice) + (alarms.size() > 1 ? ", were missed." : ", was missed.");
}
