#include "platform/thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>

#include "platform/number_text.h"
#include "platform/platform_lock.h"

#if !defined(_WIN32)
#include <time.h>

#include <thread>
#endif

namespace {

// What a started thread and the test share; the thread holds its own
// reference, so it may outlive the test's.
struct Rendezvous {
  std::mutex lock;
  std::condition_variable changed;
  std::uintptr_t seenArgument = 0;
  bool started = false;
  bool released = false;
  bool finished = false;
};

std::uint32_t waitForRelease(std::uintptr_t argument) {
  std::unique_ptr<std::shared_ptr<Rendezvous>> owned(
      reinterpret_cast<std::shared_ptr<Rendezvous>*>(argument));
  Rendezvous& r = **owned;
  std::unique_lock<std::mutex> hold(r.lock);
  r.seenArgument = argument;
  r.started = true;
  r.changed.notify_all();
  // Bounded, so that a closeThreadHandle that waits shows as a failure
  // instead of a hang.
  r.changed.wait_for(hold, std::chrono::seconds(10), [&] { return r.released; });
  r.finished = true;
  r.changed.notify_all();
  return 0;
}

TEST(StartThread, RunsTheProcedureWithItsArgumentAndCloseDoesNotWait) {
  auto shared = std::make_shared<Rendezvous>();
  auto* argument = new std::shared_ptr<Rendezvous>(shared);
  const auto expected = reinterpret_cast<std::uintptr_t>(argument);

  const ThreadHandle handle = startThread(waitForRelease, expected);
  ASSERT_NE(handle, 0u);
  {
    std::unique_lock<std::mutex> hold(shared->lock);
    ASSERT_TRUE(shared->changed.wait_for(hold, std::chrono::seconds(30),
                                         [&] { return shared->started; }));
    EXPECT_EQ(shared->seenArgument, expected);
  }

  closeThreadHandle(handle);
  {
    std::unique_lock<std::mutex> hold(shared->lock);
    EXPECT_FALSE(shared->finished) << "closeThreadHandle waited for the thread";
    shared->released = true;
    shared->changed.notify_all();
    // The thread runs on after its handle is closed.
    EXPECT_TRUE(shared->changed.wait_for(hold, std::chrono::seconds(30),
                                         [&] { return shared->finished; }));
  }
}

// 6.50000000000000001 lies just above the half in 80-bit numbers and rounds
// up; with 53 bits it would be 6.5 and round to even.
std::uint32_t roundJustAboveTheHalf(std::uintptr_t argument) {
  std::unique_ptr<std::shared_ptr<std::promise<std::int32_t>>> owned(
      reinterpret_cast<std::shared_ptr<std::promise<std::int32_t>>*>(argument));
  (*owned)->set_value(toInt32(textToNumber("6.50000000000000001")));
  return 0;
}

TEST(StartThread, ComputesWithExtendedPrecision) {
  auto rounded = std::make_shared<std::promise<std::int32_t>>();
  std::future<std::int32_t> result = rounded->get_future();
  const ThreadHandle handle = startThread(
      roundJustAboveTheHalf,
      reinterpret_cast<std::uintptr_t>(new std::shared_ptr<std::promise<std::int32_t>>(rounded)));
  ASSERT_NE(handle, 0u);
  ASSERT_EQ(result.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_EQ(result.get(), 7);
  closeThreadHandle(handle);
}

#if !defined(_WIN32)
std::int64_t threadCpuMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

// The holder may be inside a slow disk call for a long time: a thread that
// waits for the platform lock meanwhile must sleep, not spin.
TEST(PlatformCallLock, AWaitingThreadSleepsWhileAnotherHoldsIt) {
  std::promise<void> held;
  std::thread holder([&held] {
    PlatformCallLock hold;
    held.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
  });
  held.get_future().wait();
  const auto began = std::chrono::steady_clock::now();
  const std::int64_t cpuBefore = threadCpuMicroseconds();
  { PlatformCallLock hold; }
  const std::int64_t cpuSpent = threadCpuMicroseconds() - cpuBefore;
  const auto waited = std::chrono::steady_clock::now() - began;
  holder.join();
  EXPECT_GE(waited, std::chrono::milliseconds(300));
  EXPECT_LT(cpuSpent, 20000) << "microseconds of CPU spent waiting";
}
#endif

}  // namespace
