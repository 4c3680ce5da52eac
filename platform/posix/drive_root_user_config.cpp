#include "platform/posix/drive_root.h"
#include "platform/posix/user_config_folder.h"

// The desktop program keeps its settings with the user's other settings.
// Looked up once: the environment does not change while the program runs.
std::optional<std::string> driveRootFolder() {
  static const std::optional<std::string> root = userConfigFolder();
  return root;
}
