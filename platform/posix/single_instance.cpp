#include "platform/single_instance.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "platform/posix/file_lock.h"
#include "platform/posix/instance_lock_file.h"
#include "platform/posix/native_path.h"

bool claimSingleInstance(const Text& settingsFolder) {
  const std::string path = instanceLockPath(settingsFolder);
  int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  const bool writable = file >= 0;
  // Read-only settings are guarded all the same: by the file if it is there,
  // else by the folder itself.
  if (!writable) file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) file = open(nativePath(settingsFolder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // Without the folder there are no settings for a second clock to share.
  if (file < 0) return true;
  if (lockedElsewhere(file)) {
    close(file);
    return false;
  }
  // The file stays open for the process's life: the lock goes with it.
  if (writable) writeInstanceHolder(file);
  return true;
}
