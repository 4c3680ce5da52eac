#include "platform/posix/instance_lock_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "platform/posix/native_path.h"

std::string instanceLockPath(const Text& settingsFolder) {
  return nativePath(settingsFolder + "\\brightquill.lock");
}

void writeInstanceHolder(int descriptor) {
  const std::string pid = std::to_string(getpid()) + "\n";
  if (ftruncate(descriptor, 0) != 0) return;
  // A short or failed write leaves a number that names no clock, or none.
  (void)!pwrite(descriptor, pid.data(), pid.size(), 0);
}

pid_t instanceHolder(const Text& settingsFolder) {
  const int file = open(instanceLockPath(settingsFolder).c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return 0;
  char bytes[16];
  const ssize_t length = pread(file, bytes, sizeof bytes, 0);
  close(file);
  long pid = 0;
  ssize_t i = 0;
  for (; i < length && bytes[i] >= '0' && bytes[i] <= '9' && pid < 100000000; ++i) {
    pid = pid * 10 + (bytes[i] - '0');
  }
  // A whole line: digits, then the newline.
  if (i == 0 || i >= length || bytes[i] != '\n') return 0;
  return static_cast<pid_t>(pid);
}
