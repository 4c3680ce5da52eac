#pragma once
// Simulated time for tests: the wall clock reads it and sleepMs advances it
// instead of waiting, so hundreds of clock ticks pass in milliseconds. It
// keeps UTC time and a zone offset, which may change at a set UTC instant.
#include <cstdint>
#include <functional>

// Sets the simulated local time of day, on the simulated day.
void setSimulatedTime(int hour, int minute, int second, int millisecond = 0);
// Milliseconds since midnight of the simulated local day (wraps at 24 hours).
std::int64_t simulatedMilliseconds();
// UTC milliseconds since 1970; a jump forward stands for a sleep.
std::int64_t simulatedUtcMilliseconds();
void jumpSimulatedTime(std::int64_t milliseconds);
// The zone's offset from UTC (minutes east), and the offset it changes to at
// a UTC instant, as on a daylight-saving day.
void setSimulatedZone(int offsetMinutes, std::int64_t changeAtUtcMs = INT64_MAX,
                      int offsetMinutesAfter = 0);
// Runs on every sleepMs, after the time has advanced; tests use it to act
// "while" the program pauses. Empty by default.
void setSleepObserver(std::function<void(std::uint32_t milliseconds)> observer);
// Total of every pause asked for since the last reset.
std::int64_t totalSleptMilliseconds();
void resetSimulatedClock();
