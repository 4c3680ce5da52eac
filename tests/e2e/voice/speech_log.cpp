#include "speech_log.h"

#include <cstdio>

#include "recording_voice.h"

namespace speech_log {

namespace {

// Lines from several speaking threads must not interleave.
CRITICAL_SECTION* logLock() {
  static CRITICAL_SECTION lock;
  static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
  InitOnceExecuteOnce(
      &once,
      [](PINIT_ONCE, PVOID, PVOID*) -> BOOL {
        InitializeCriticalSection(&lock);
        return TRUE;
      },
      nullptr, nullptr);
  return &lock;
}

BOOL CALLBACK findVisibleDialog(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (lstrcmpW(className, L"#32770") != 0) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

void appendUtf8(std::string& out, const wchar_t* text, int count) {
  if (count <= 0) return;
  int size = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, count, bytes.data(), size, nullptr, nullptr);
  out += bytes;
}

}  // namespace

long long unixTimeMs() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  ULARGE_INTEGER ticks;
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  const unsigned long long unixEpoch = 116444736000000000ULL;  // in 100 ns
  return static_cast<long long>((ticks.QuadPart - unixEpoch) / 10000ULL);
}

bool processHasVisibleDialog() {
  bool found = false;
  EnumWindows(findVisibleDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string escapeText(const wchar_t* text) {
  if (text == nullptr) return "\\N";
  std::string out;
  const wchar_t* runStart = text;
  const wchar_t* p = text;
  for (; *p != 0; ++p) {
    wchar_t c = *p;
    if (c >= 0x20 && c != L'\\') continue;
    appendUtf8(out, runStart, static_cast<int>(p - runStart));
    runStart = p + 1;
    switch (c) {
      case L'\\': out += "\\\\"; break;
      case L'\r': out += "\\r"; break;
      case L'\n': out += "\\n"; break;
      case L'\t': out += "\\t"; break;
      default: {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
        out += hex;
      }
    }
  }
  appendUtf8(out, runStart, static_cast<int>(p - runStart));
  return out;
}

std::wstring classSetting(const wchar_t* name) {
  wchar_t key[80];
  wchar_t clsid[40];
  StringFromGUID2(CLSID_RecordingVoice, clsid, 40);
  wsprintfW(key, L"CLSID\\%s", clsid);
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return value;
}

void appendLine(const std::string& line) {
  std::wstring path = classSetting(L"LogFile");
  if (path.empty()) path = L"C:\\speech-log.txt";
  std::string record = line + "\n";
  EnterCriticalSection(logLock());
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
  }
  LeaveCriticalSection(logLock());
}

}  // namespace speech_log
