#include "platform/thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

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

}  // namespace
