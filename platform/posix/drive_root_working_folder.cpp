#include "platform/posix/drive_root.h"

#include <utility>

namespace {
std::optional<std::string>& testRoot() {
  static std::optional<std::string> root = std::string();
  return root;
}
}  // namespace

// Test programs keep their settings in the folder they run in, unless a test
// names another.
std::optional<std::string> driveRootFolder() { return testRoot(); }

void setDriveRootFolderForTests(std::optional<std::string> folder) {
  testRoot() = std::move(folder);
}
