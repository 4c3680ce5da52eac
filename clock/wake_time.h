#pragma once
// The wake-up time: the platform's one wake timer is kept set for one minute
// before the next armed alarm, so that a sleeping computer wakes for it.
#include <cstdint>
#include <optional>

#include "alarms/alarm_tables.h"
#include "platform/clock.h"

// The UTC second one minute before the next armed alarm's local time, after
// the current minute, by the zone rules; none when no alarm is armed with a
// time of the day (an hour of 153 wakes nothing).
std::optional<std::int64_t> NextWakeTime(const AlarmSchedule& schedule, const LocalDateTime& now);

// Works the wake time out again when the schedule or the local minute has
// changed since it last did, and sets or cancels the platform's wake timer
// when the result differs from what it last set. Clock thread only.
void KeepWakeTimeSet(const AlarmSchedule& schedule, const LocalDateTime& now);
// Forgets what was worked out and set, as at start-up.
void ForgetWakeTime();
