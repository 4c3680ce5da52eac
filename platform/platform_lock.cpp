#include "platform/platform_lock.h"

#include <mutex>

namespace {
// Constant-initialised, so it is ready before any static constructor runs.
std::mutex platformBusy;
}

PlatformCallLock::PlatformCallLock() { platformBusy.lock(); }

PlatformCallLock::~PlatformCallLock() { platformBusy.unlock(); }
