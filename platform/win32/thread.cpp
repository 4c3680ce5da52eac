#include "platform/thread.h"

#include <float.h>
#include <windows.h>

#include "platform/last_error.h"
#include "platform/platform_lock.h"

namespace {

constexpr SIZE_T kStackBytes = 1048576;

struct StartRecord {
  ThreadProc procedure;
  std::uintptr_t argument;
};

// Adapts the program's thread procedure to the Win32 signature. 64-bit
// Windows starts each new thread with x87 numbers cut to 53 bits, and the
// runtime restores the 64-bit precision of Number only on the first thread,
// so every other thread restores it itself before it computes anything.
DWORD WINAPI runThread(LPVOID raw) {
  _fpreset();
  const StartRecord record = *static_cast<StartRecord*>(raw);
  delete static_cast<StartRecord*>(raw);
  return record.procedure(record.argument);
}

}  // namespace

ThreadHandle startThread(ThreadProc procedure, std::uintptr_t argument) {
  auto* record = new StartRecord{procedure, argument};
  HANDLE thread;
  DWORD failure = 0;
  {
    PlatformCallLock hold;
    thread = CreateThread(nullptr, kStackBytes, runThread, record, 0, nullptr);
    if (thread == nullptr) failure = GetLastError();
  }
  if (thread == nullptr) {
    delete record;
    setLastError(failure != 0 ? static_cast<int>(failure) : ERROR_GEN_FAILURE);
    return 0;
  }
  return reinterpret_cast<ThreadHandle>(thread);
}

void closeThreadHandle(ThreadHandle handle) {
  if (handle != 0) CloseHandle(reinterpret_cast<HANDLE>(handle));
}
