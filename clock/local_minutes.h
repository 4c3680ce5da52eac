#pragma once
// Local dates and times as plain numbers of minutes since 1970-01-01 00:00,
// counted on the calendar without any zone rule, so that the clock can say
// how many minutes lie between two readings and step from one day to the
// next.
#include <cstdint>

#include "platform/clock.h"

inline constexpr std::int64_t kMinutesPerDay = 24 * 60;

std::int64_t LocalMinuteNumber(const LocalDateTime& time);
// The date and time at the start of a minute number (second 0).
LocalDateTime LocalTimeOfMinute(std::int64_t minuteNumber);
