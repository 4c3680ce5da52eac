#pragma once
// Waking the computer from sleep for the next alarm, and keeping it awake
// while an alarm rings. Where the system does not let the program wake it,
// these change nothing and the clock goes on as before.
#include <cstdint>

// The one wake-up time, replacing any earlier one: seconds since 1970-01-01
// 00:00 UTC.
void setWakeTime(std::int64_t utcSeconds);
// No wake-up at all, as when nothing is armed.
void cancelWakeTime();
// While on, the computer and its display stay awake. Called by the clock
// thread only.
void keepAwake(bool on);
