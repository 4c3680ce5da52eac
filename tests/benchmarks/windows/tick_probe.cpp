// bq_tick_probe.exe MS: watches brightquill.exe's main window for MS
// milliseconds and prints, with Unix time stamps in milliseconds:
//   tick T         the clock set the time box (1001)
//   shown T TEXT   the "Text to Speak" box (1032) changed to TEXT
// The clock sets the time box on every tick, changed or not, so the probe
// puts a marker into the box and each replacement of the marker is a tick.
// A tick that falls between noticing a change and putting the marker back
// is missed and shows as one double interval.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>

#include "ansi_io.h"
#include "target_window.h"

namespace {

constexpr int kTimeBoxId = 1001;
constexpr int kSpeakTextId = 1032;
constexpr DWORD kPollMs = 2;

// Unix time in milliseconds, comparable with the speech log and `date`.
double unixTimeMs() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  ULARGE_INTEGER ticks;
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  return static_cast<double>(ticks.QuadPart - 116444736000000000ULL) / 10000.0;
}

std::string stamp(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", ms);
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    writeErr("use: bq_tick_probe.exe <ms>\n");
    return 2;
  }
  const double watchMs = std::wcstod(argv[1], nullptr);
  HWND dialog = waitMainDialog(30000);
  if (dialog == nullptr) {
    writeErr("bq_tick_probe: no main window\n");
    return 1;
  }
  HWND timeBox = GetDlgItem(dialog, kTimeBoxId);
  HWND speakBox = GetDlgItem(dialog, kSpeakTextId);
  if (timeBox == nullptr || speakBox == nullptr) return 1;

  const std::wstring marker = L"~";
  std::optional<std::wstring> shown = readText(speakBox);
  const double end = unixTimeMs() + watchMs;
  bool marked = false;
  while (unixTimeMs() < end) {
    if (!marked) marked = writeText(timeBox, marker);
    std::optional<std::wstring> time = readText(timeBox);
    if (marked && time && *time != marker) {
      writeOut("tick " + stamp(unixTimeMs()) + "\n");
      marked = false;
      continue;
    }
    std::optional<std::wstring> speak = readText(speakBox);
    if (speak && speak != shown) {
      writeOut("shown " + stamp(unixTimeMs()) + " " + toAnsi(*speak) + "\n");
      shown = speak;
    }
    Sleep(kPollMs);
  }
  return 0;
}
