#pragma once
// Which armed alarm is due at the given hour and minute.
#include <cstdint>

#include "alarms/alarm_tables.h"
#include "platform/number_text.h"

// The latest alarm in the order A..E that is armed and set to this hour and
// minute; 0 when none is.
int MatchingAlarm(const AlarmSchedule& schedule, std::int16_t hour, Number minute);

// Whether the alarm is armed and set to a time of the day; a settings byte
// can give an hour of 153, and such an alarm never rings.
bool ArmedForATimeOfDay(const AlarmSchedule& schedule, int alarm);
