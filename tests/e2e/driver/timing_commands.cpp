// Commands that watch the window over time: the changes of a control's text,
// and the clock's ticks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ansi_io.h"
#include "command_support.h"
#include "commands.h"
#include "target_window.h"

namespace {

std::string milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", ms);
  return text;
}

constexpr int kTimeBoxId = 1001;

}  // namespace

int sampleText(const Arguments& args) {
  long ms = 0, period = 0;
  if (args.size() != 3 || !parseNumber(args[1], ms) || !parseNumber(args[2], period)) return 2;
  HWND control = requireControl(args[0]);
  if (control == nullptr) return 2;
  const double start = nowMs();
  std::optional<std::wstring> last;
  while (nowMs() - start < ms) {
    std::optional<std::wstring> text = readText(control);
    if (!text) return 3;
    if (!last || *text != *last) {
      writeOut(milliseconds(nowMs() - start) + "\t" + toAnsi(*text) + "\n");
      last = text;
    }
    Sleep(static_cast<DWORD>(period));
  }
  return 0;
}

// The clock sets the time box on every tick, changed or not. So: put a
// marker into the box, and the moment it is replaced is a tick; put the
// marker back and wait for the next one. A tick that falls between noticing
// a change and putting the marker back is missed and shows as one double
// interval, which the median ignores.
int tickTimes(const Arguments& args) {
  long count = 0, ms = 0;
  if (args.size() != 2 || !parseNumber(args[0], count) || !parseNumber(args[1], ms) ||
      count < 1) {
    return 2;
  }
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  HWND box = GetDlgItem(dialog, kTimeBoxId);
  if (box == nullptr) return 2;
  const std::wstring marker = L"~";
  const double start = nowMs();
  std::vector<double> ticks;
  while (static_cast<long>(ticks.size()) <= count) {
    if (!writeText(box, marker)) return 3;
    for (;;) {
      if (nowMs() - start > ms) {
        writeErr("bq_driver: only " + std::to_string(ticks.size()) + " ticks seen\n");
        return 1;
      }
      std::optional<std::wstring> text = readText(box);
      if (!text) return 3;
      if (*text != marker) break;
      Sleep(2);
    }
    ticks.push_back(nowMs() - start);
  }
  std::vector<double> intervals;
  for (size_t i = 1; i < ticks.size(); ++i) intervals.push_back(ticks[i] - ticks[i - 1]);
  for (double t : ticks) writeOut("tick\t" + milliseconds(t) + "\n");
  std::vector<double> sorted = intervals;
  std::sort(sorted.begin(), sorted.end());
  const size_t n = sorted.size();
  const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  writeOut("intervals\t" + std::to_string(n) + "\n");
  writeOut("min\t" + milliseconds(sorted.front()) + "\n");
  writeOut("median\t" + milliseconds(median) + "\n");
  writeOut("max\t" + milliseconds(sorted.back()) + "\n");
  return 0;
}
