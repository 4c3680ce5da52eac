#include "tests/support/simulated_clock.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/clock.h"

namespace {

constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;
std::atomic<std::int64_t> nowMs{0};
std::atomic<std::int64_t> sleptMs{0};
std::mutex observerLock;
// Shared, so that an observer with state of its own keeps it from call to call.
std::shared_ptr<std::function<void(std::uint32_t)>> sleepObserver;

}  // namespace

void setSimulatedTime(int hour, int minute, int second, int millisecond) {
  nowMs = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
}

std::int64_t simulatedMilliseconds() { return nowMs.load() % kDayMs; }

void setSleepObserver(std::function<void(std::uint32_t)> observer) {
  std::lock_guard<std::mutex> hold(observerLock);
  sleepObserver = observer ? std::make_shared<std::function<void(std::uint32_t)>>(std::move(observer))
                           : nullptr;
}

std::int64_t totalSleptMilliseconds() { return sleptMs.load(); }

void resetSimulatedClock() {
  nowMs = 0;
  sleptMs = 0;
  setSleepObserver(nullptr);
}

Text timeOfDay() {
  const std::int64_t seconds = simulatedMilliseconds() / 1000;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return Text(text, 8);
}

void sleepMs(std::uint32_t milliseconds) {
  nowMs += milliseconds;
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
