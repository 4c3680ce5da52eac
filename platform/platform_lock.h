#pragma once
// The one process-wide lock around platform calls (local time, folders,
// threads, files), so they never overlap between threads. It is a spin lock
// held only for the length of one platform call.
class PlatformCallLock {
 public:
  PlatformCallLock();
  ~PlatformCallLock();
  PlatformCallLock(const PlatformCallLock&) = delete;
  PlatformCallLock& operator=(const PlatformCallLock&) = delete;
};
