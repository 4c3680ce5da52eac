#include "tests/support/simulated_clock.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "clock/local_minutes.h"
#include "platform/clock.h"

namespace {

constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;
// Midnight UTC at the start of the simulated day, a Monday (2026-03-23).
constexpr std::int64_t kSimulatedDayMs = 20535 * kDayMs;

std::atomic<std::int64_t> utcMs{kSimulatedDayMs};
std::atomic<std::int64_t> sleptMs{0};
// Set while no other thread reads the clock.
std::atomic<std::int64_t> offsetMs{0}, changeAtMs{INT64_MAX}, offsetAfterChangeMs{0};
std::mutex observerLock;
// Shared, so that an observer with state of its own keeps it from call to call.
std::shared_ptr<std::function<void(std::uint32_t)>> sleepObserver;

std::int64_t localMsAt(std::int64_t utc) {
  return utc + (utc >= changeAtMs ? offsetAfterChangeMs : offsetMs);
}

LocalDateTime dateTimeAt(std::int64_t localMs) {
  LocalDateTime time = LocalTimeOfMinute(localMs / 60000);
  time.second = static_cast<int>(localMs / 1000 % 60);
  return time;
}

}  // namespace

void setSimulatedTime(int hour, int minute, int second, int millisecond) {
  const std::int64_t timeOfDay = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  const std::int64_t offset = localMsAt(utcMs.load()) - utcMs.load();
  utcMs = kSimulatedDayMs + timeOfDay - offset;
}

std::int64_t simulatedMilliseconds() { return localMsAt(utcMs.load()) % kDayMs; }

std::int64_t simulatedUtcMilliseconds() { return utcMs.load(); }

void jumpSimulatedTime(std::int64_t milliseconds) { utcMs += milliseconds; }

void setSimulatedZone(int offsetMinutes, std::int64_t changeAtUtcMs, int offsetMinutesAfter) {
  offsetMs = offsetMinutes * 60000LL;
  changeAtMs = changeAtUtcMs;
  offsetAfterChangeMs = offsetMinutesAfter * 60000LL;
}

void setSleepObserver(std::function<void(std::uint32_t)> observer) {
  std::lock_guard<std::mutex> hold(observerLock);
  sleepObserver = observer ? std::make_shared<std::function<void(std::uint32_t)>>(std::move(observer))
                           : nullptr;
}

std::int64_t totalSleptMilliseconds() { return sleptMs.load(); }

void resetSimulatedClock() {
  setSimulatedZone(0);
  utcMs = kSimulatedDayMs;
  sleptMs = 0;
  setSleepObserver(nullptr);
}

Text timeOfDay() { return timeOfDayText(readWallClock().local); }

WallClockReading readWallClock() {
  const std::int64_t utc = utcMs.load();
  return WallClockReading{utc, dateTimeAt(localMsAt(utc))};
}

LocalDateTime localTimeAt(std::int64_t utcSeconds) {
  return dateTimeAt(localMsAt(utcSeconds * 1000));
}

void sleepMs(std::uint32_t milliseconds) {
  utcMs += milliseconds;
  sleptMs += milliseconds;
  std::shared_ptr<std::function<void(std::uint32_t)>> observer;
  {
    std::lock_guard<std::mutex> hold(observerLock);
    observer = sleepObserver;
  }
  if (observer) (*observer)(milliseconds);
  // Lets other threads run, as a real pause would.
  std::this_thread::yield();
}
