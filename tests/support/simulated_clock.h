#pragma once
// Simulated time for tests: timeOfDay reads it and sleepMs advances it
// instead of waiting, so hundreds of clock ticks pass in milliseconds.
#include <cstdint>
#include <functional>

// Sets the simulated local time of day.
void setSimulatedTime(int hour, int minute, int second, int millisecond = 0);
// Milliseconds since midnight of the simulated day (wraps at 24 hours).
std::int64_t simulatedMilliseconds();
// Runs on every sleepMs, after the time has advanced; tests use it to act
// "while" the program pauses. Empty by default.
void setSleepObserver(std::function<void(std::uint32_t milliseconds)> observer);
// Total of every pause asked for since the last reset.
std::int64_t totalSleptMilliseconds();
void resetSimulatedClock();
