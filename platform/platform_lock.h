#pragma once
// The one process-wide lock around platform calls (local time, folders,
// threads, files), so they never overlap between threads. A waiting thread
// sleeps, since the holder may be inside a slow disk call. It is held only
// for the length of one platform call and never taken again while held.
class PlatformCallLock {
 public:
  PlatformCallLock();
  ~PlatformCallLock();
  PlatformCallLock(const PlatformCallLock&) = delete;
  PlatformCallLock& operator=(const PlatformCallLock&) = delete;
};
