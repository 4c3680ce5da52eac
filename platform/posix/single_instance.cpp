#include "platform/single_instance.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/posix/file_lock.h"
#include "platform/posix/native_path.h"

namespace {

// In the user's runtime folder, which is the user's own for as long as they
// are signed in; without one, beside the settings the lock protects.
std::string lockPath(const Text& settingsFolder) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/brightquill.lock";
  return nativePath(settingsFolder + "\\brightquill.lock");
}

}  // namespace

bool claimSingleInstance(const Text& settingsFolder) {
  const int file = open(lockPath(settingsFolder).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (file < 0) return true;
  // The file stays open for the process's life: the lock goes with it.
  if (!lockedElsewhere(file)) return true;
  close(file);
  return false;
}
