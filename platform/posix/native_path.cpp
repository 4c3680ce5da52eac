#include "platform/posix/native_path.h"

std::string nativePath(const Text& path) {
  std::string native = path.substr(0, 255);
  if (native.size() >= 2 && native[1] == ':' &&
      ((native[0] >= 'a' && native[0] <= 'z') || (native[0] >= 'A' && native[0] <= 'Z'))) {
    native.erase(0, 2);
  }
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}
