#include "platform/data_file.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/last_error.h"
#include "platform/platform_lock.h"

namespace {

constexpr UINT kQuietErrorMode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;  // 0x8001
constexpr std::size_t kMaxPathChars = 255;

// One file-system call: under the process-wide lock, with the system's
// critical-error and file-not-found boxes switched off for its duration.
template <typename Call>
auto quietFileCall(Call call) {
  PlatformCallLock hold;
  const UINT previousMode = SetErrorMode(kQuietErrorMode);
  auto result = call();
  SetErrorMode(previousMode);
  return result;
}

std::wstring widePath(const Text& path) {
  if (path.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()),
                                       nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
  if (size > 0) {
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                        size);
  }
  if (wide.size() > kMaxPathChars) wide.resize(kMaxPathChars);
  return wide;
}

HANDLE openWith(const std::wstring& path, DWORD access, DWORD& failure) {
  return quietFileCall([&] {
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = TRUE;
    HANDLE handle = CreateFileW(path.c_str(), access, 0, &security, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) failure = GetLastError();
    return handle;
  });
}

HANDLE handleOf(const DataFile& file) { return reinterpret_cast<HANDLE>(file.handle); }
bool isOpen(const DataFile& file) { return file.handle != -1; }

}  // namespace

DataFile openDataFile(const Text& path) {
  DataFile file;
  const std::wstring wide = widePath(path);
  if (wide.empty() || wide.find_first_of(L"*?") != std::wstring::npos) {
    setLastError(ERROR_INVALID_NAME);
    return file;
  }
  DWORD failure = 0;
  HANDLE handle = openWith(wide, GENERIC_READ | GENERIC_WRITE, failure);
  if (handle == INVALID_HANDLE_VALUE) {
    handle = openWith(wide, GENERIC_READ, failure);
    file.readOnly = handle != INVALID_HANDLE_VALUE;
  }
  if (handle == INVALID_HANDLE_VALUE) {
    setLastError(static_cast<int>(failure));
    return file;
  }
  file.handle = reinterpret_cast<std::intptr_t>(handle);
  LARGE_INTEGER start{};
  quietFileCall([&] { return SetFilePointerEx(handle, start, nullptr, FILE_BEGIN); });
  return file;
}

void setPosition(DataFile& file, std::int64_t position) {
  if (!isOpen(file)) {
    setLastError(ERROR_INVALID_HANDLE);
    return;
  }
  LARGE_INTEGER distance;
  distance.QuadPart = position - 1;
  DWORD failure = 0;
  const BOOL moved = quietFileCall([&] {
    const BOOL ok = SetFilePointerEx(handleOf(file), distance, nullptr, FILE_BEGIN);
    if (!ok) failure = GetLastError();
    return ok;
  });
  if (!moved) {
    setLastError(static_cast<int>(failure));  // a negative offset: the pointer stays
    return;
  }
  file.position = position;
}

Text readBytes(DataFile& file, std::int64_t count) {
  Text bytes;
  if (!isOpen(file)) {
    setLastError(ERROR_INVALID_HANDLE);
    return bytes;
  }
  constexpr std::int64_t kChunk = 65536;
  while (count > 0) {
    char buffer[kChunk];
    const DWORD wanted = static_cast<DWORD>(std::min(count, kChunk));
    DWORD got = 0;
    DWORD failure = 0;
    const BOOL ok = quietFileCall([&] {
      const BOOL done = ReadFile(handleOf(file), buffer, wanted, &got, nullptr);
      if (!done) failure = GetLastError();
      return done;
    });
    bytes.append(buffer, got);
    file.position += got;
    count -= got;
    if (!ok) {
      setLastError(static_cast<int>(failure));
      break;
    }
    if (got < wanted) {
      file.endOfFile = true;
      break;
    }
  }
  return bytes;
}

void writeBytes(DataFile& file, const Text& bytes) {
  if (!isOpen(file) || file.readOnly) {
    setLastError(isOpen(file) ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
    return;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD wanted =
        static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    DWORD failure = 0;
    const BOOL ok = quietFileCall([&] {
      const BOOL written = WriteFile(handleOf(file), bytes.data() + done, wanted, &put, nullptr);
      if (!written) failure = GetLastError();
      return written;
    });
    done += put;
    file.position += put;
    if (!ok || put == 0) {
      setLastError(ok ? ERROR_WRITE_FAULT : static_cast<int>(failure));
      return;
    }
  }
}

void closeDataFile(DataFile& file) {
  if (!isOpen(file)) {
    setLastError(ERROR_INVALID_HANDLE);
    return;
  }
  HANDLE handle = handleOf(file);
  file.handle = -1;
  DWORD failure = 0;
  const BOOL closed = quietFileCall([&] {
    const BOOL ok = CloseHandle(handle);
    if (!ok) failure = GetLastError();
    return ok;
  });
  if (!closed) setLastError(static_cast<int>(failure));
}
