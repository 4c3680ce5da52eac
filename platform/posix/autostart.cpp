#include "platform/autostart.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/posix/autostart_entry.h"
#include "platform/posix/user_config_folder.h"

namespace {

// The absolute path of the running program, as the system started it.
std::string runningProgram() {
  std::string path(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return std::string();
  path.resize(static_cast<std::size_t>(length));
  return path;
}

bool writeWhole(int descriptor, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// Written beside the entry and renamed over it, so that a session that
// signs in meanwhile reads the old entry or the new one, never half of one.
bool replaceFile(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".new";
  const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0) return false;
  const bool written = writeWhole(descriptor, bytes) && fsync(descriptor) == 0;
  if (close(descriptor) != 0 || !written || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool setStartAtSignIn(bool on) {
  // The user's own autostart folder; the all-users one is the system's.
  // Without a configuration folder there is nowhere to keep the choice.
  const std::optional<std::string> config = userConfigFolder();
  if (!config) return false;
  const std::string folder = *config + "/autostart";
  const std::string entry = folder + "/" + kDesktopEntryName;
  if (!on) return unlink(entry.c_str()) == 0 || errno == ENOENT;
  const std::string text = autostartEntry(runningProgram());
  if (text.empty()) return false;
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return replaceFile(entry, text);
}
