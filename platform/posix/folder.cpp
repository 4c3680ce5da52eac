#include "platform/folder.h"

#include <errno.h>
#include <sys/stat.h>

#include "platform/last_error.h"
#include "platform/platform_lock.h"
#include "platform/posix/native_path.h"

void makeFolder(const Text& path) {
  if (path.empty() || path.find_first_of("*?") != Text::npos) {
    setLastError(EINVAL);
    return;
  }
  const std::string native = nativePath(path);
  PlatformCallLock hold;
  if (mkdir(native.c_str(), 0777) != 0) setLastError(errno);
}
