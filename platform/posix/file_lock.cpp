#include "platform/posix/file_lock.h"

#include <errno.h>
#include <sys/file.h>

bool lockedElsewhere(int descriptor) {
  int result;
  do {
    result = flock(descriptor, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result != 0 && errno == EWOULDBLOCK;
}
