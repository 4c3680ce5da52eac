#include "ansi_io.h"

namespace {

void writeAll(DWORD which, const std::string& bytes) {
  HANDLE handle = GetStdHandle(which);
  const char* data = bytes.data();
  DWORD left = static_cast<DWORD>(bytes.size());
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, data, left, &written, nullptr) || written == 0) return;
    data += written;
    left -= written;
  }
}

}  // namespace

std::string toAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

void writeOut(const std::string& bytes) { writeAll(STD_OUTPUT_HANDLE, bytes); }
void writeErr(const std::string& bytes) { writeAll(STD_ERROR_HANDLE, bytes); }
void printLine(const std::wstring& text) { writeOut(toAnsi(text) + "\n"); }
