#include "platform/posix/autostart_entry.h"

const char kDesktopEntryName[] = "com.brightquill.Brightquill.desktop";

namespace {

// A string value: backslashes doubled.
std::string stringValue(const std::string& text) {
  std::string value;
  for (const char c : text) {
    if (c == '\\') value += '\\';
    value += c;
  }
  return value;
}

// One argument of Exec: quoted when it holds a reserved character, with ",
// `, $ and \ escaped inside the quotes; % doubled, as a field code would
// otherwise be taken from it. The string value's own escaping comes on top.
std::string execArgument(const std::string& argument) {
  static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string quoted;
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  if (argument.find_first_of(reserved) != std::string::npos) quoted = '"' + quoted + '"';
  return stringValue(quoted);
}

// The folders of the packaged installs (the Debian package, the archive
// for /usr/local), which every session's search path holds. A program there
// is named without its folder, so that the entry still starts it after a
// move from one install to the other.
std::string commandOf(const std::string& programPath) {
  for (const std::string folder : {"/usr/bin/", "/usr/local/bin/"}) {
    if (programPath.rfind(folder, 0) == 0 &&
        programPath.find('/', folder.size()) == std::string::npos) {
      return programPath.substr(folder.size());
    }
  }
  return programPath;
}

// Whether the bytes are well-formed UTF-8: no stray or missing continuation
// byte, no overlong form, no surrogate, nothing above U+10FFFF. A desktop
// entry's values must be, or GLib ignores the whole entry.
bool isUtf8(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    char32_t code = lead;
    if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0x80) {
      return false;
    }
    if (text.size() - at < length) return false;
    for (std::size_t i = 1; i < length; ++i) {
      const unsigned char next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    at += length;
  }
  return true;
}

}  // namespace

std::string autostartEntry(const std::string& programPath) {
  if (programPath.empty() || programPath[0] != '/' || !isUtf8(programPath)) return std::string();
  for (const char c : programPath) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::string();
  }
  const std::string command = commandOf(programPath);
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Brightquill\n"
         "Comment=Starts the Brightquill talking alarm clock when you sign in\n"
         "Exec=" + execArgument(command) + "\n"
         // A program removed since is skipped at sign-in instead of failing.
         "TryExec=" + stringValue(command) + "\n"
         "Icon=brightquill\n"
         "Terminal=false\n";
}
