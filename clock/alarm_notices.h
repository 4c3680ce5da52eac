#pragma once
// What the clock says about an alarm whose minute it skipped: how late it
// rings, or that it was missed.
#include <cstdint>
#include <vector>

#include "alarms/alarm_tables.h"
#include "platform/text.h"

// "Alarm A, set for 7:00 a.m., rings 10 minutes late." The lateness in whole
// minutes, rounded to the nearest.
Text LatenessSentence(int alarm, AlarmTime time, std::int64_t lateSeconds);
// "Alarm A, set for 7:00 a.m., was missed." Several share one notice:
// "Alarm A, set for 7:00 a.m., and alarm C, set for 7:30 a.m., were missed."
Text MissedNotice(const std::vector<int>& alarms, const AlarmSchedule& schedule);
