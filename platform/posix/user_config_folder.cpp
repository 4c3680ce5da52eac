#include "platform/posix/user_config_folder.h"

#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform_lock.h"

namespace {

std::optional<std::string> homeFolder() {
  const char* home = getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home);
  struct passwd entry;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] != '\0') {
    return std::string(found->pw_dir);
  }
  return std::nullopt;
}

void makeOneFolder(const std::string& folder) {
  PlatformCallLock hold;
  mkdir(folder.c_str(), 0700);
}

}  // namespace

std::optional<std::string> userConfigFolder() {
  const char* configured = getenv("XDG_CONFIG_HOME");
  if (configured != nullptr && configured[0] == '/') {
    const std::string folder = configured;
    // Every missing level, as the base directory rules ask.
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
      makeOneFolder(folder.substr(0, slash));
    }
    makeOneFolder(folder);
    return folder;
  }
  const std::optional<std::string> home = homeFolder();
  if (!home) return std::nullopt;
  const std::string folder = *home + "/.config";
  makeOneFolder(folder);
  return folder;
}
