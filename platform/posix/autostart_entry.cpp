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

}  // namespace

std::string autostartEntry(const std::string& programPath) {
  if (programPath.empty() || programPath[0] != '/') return std::string();
  for (const char c : programPath) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::string();
  }
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Brightquill\n"
         "Comment=Starts the Brightquill talking alarm clock when you sign in\n"
         "Exec=" + execArgument(programPath) + "\n"
         // A program removed since is skipped at sign-in instead of failing.
         "TryExec=" + stringValue(programPath) + "\n"
         "Icon=brightquill\n"
         "Terminal=false\n";
}
