#include "platform/platform_lock.h"

#include <atomic>
#include <thread>

namespace {
std::atomic_flag platformBusy = ATOMIC_FLAG_INIT;
}

PlatformCallLock::PlatformCallLock() {
  while (platformBusy.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
}

PlatformCallLock::~PlatformCallLock() { platformBusy.clear(std::memory_order_release); }
