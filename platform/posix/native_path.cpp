#include "platform/posix/native_path.h"

namespace {

constexpr std::size_t kMaxPathChars = 255;

bool startsWithDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

}  // namespace

std::string nativePath(const Text& path) {
  std::string native = path.substr(0, kMaxPathChars);
  if (startsWithDrive(native)) {
    const std::size_t rest = native.find_first_not_of("\\/", 2);
    native.erase(0, rest == std::string::npos ? native.size() : rest);
  }
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}
