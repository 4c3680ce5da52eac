#include "platform/posix/user_config_folder.h"

#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform_lock.h"

namespace {

std::string homeFolder() {
  const char* home = getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  struct passwd entry;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
    return found->pw_dir;
  }
  return std::string();
}

}  // namespace

std::string userConfigFolder() {
  const char* configured = getenv("XDG_CONFIG_HOME");
  std::string folder = configured != nullptr && configured[0] == '/'
                           ? std::string(configured)
                           : homeFolder() + "/.config";
  PlatformCallLock hold;
  mkdir(folder.c_str(), 0700);
  return folder;
}
