#include "platform/posix/native_path.h"

#include "platform/posix/drive_root.h"

namespace {

constexpr std::size_t kMaxPathChars = 255;

bool startsWithDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

}  // namespace

std::string nativePath(const Text& path) {
  std::string native = path.substr(0, kMaxPathChars);
  const bool onDrive = startsWithDrive(native);
  if (onDrive) {
    const std::size_t rest = native.find_first_not_of("\\/", 2);
    native.erase(0, rest == std::string::npos ? native.size() : rest);
  }
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  if (!onDrive) return native;
  const std::optional<std::string> root = driveRootFolder();
  // Without a folder for the drive, its paths name nothing.
  if (!root) return std::string();
  // The root's own name is taken as it is.
  if (root->empty()) return native;
  return native.empty() ? *root : *root + '/' + native;
}
