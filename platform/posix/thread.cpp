#include "platform/thread.h"

#include <pthread.h>

#include "platform/last_error.h"
#include "platform/platform_lock.h"

namespace {

struct StartRecord {
  ThreadProc procedure;
  std::uintptr_t argument;
};

void* runThread(void* raw) {
  StartRecord record = *static_cast<StartRecord*>(raw);
  delete static_cast<StartRecord*>(raw);
  record.procedure(record.argument);
  return nullptr;
}

}  // namespace

ThreadHandle startThread(ThreadProc procedure, std::uintptr_t argument) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 1048576);
  auto* record = new StartRecord{procedure, argument};
  auto* thread = new pthread_t;
  int failure;
  {
    PlatformCallLock hold;
    failure = pthread_create(thread, &attributes, runThread, record);
  }
  pthread_attr_destroy(&attributes);
  if (failure != 0) {
    delete record;
    delete thread;
    setLastError(failure);
    return 0;
  }
  return reinterpret_cast<ThreadHandle>(thread);
}

void closeThreadHandle(ThreadHandle handle) {
  if (handle == 0) return;
  auto* thread = reinterpret_cast<pthread_t*>(handle);
  pthread_detach(*thread);
  delete thread;
}
