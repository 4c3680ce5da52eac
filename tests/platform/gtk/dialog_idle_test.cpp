// An idle window blocks in the main loop instead of polling: while a clock
// thread sets the time text twice a second, the dialog's thread wakes only
// for that, and the whole window stays small.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>

#include "tests/platform/gtk/gtk_test_dialog.h"

namespace {

// A "Name: value" line of a /proc file, as a number (0 when missing).
long long procValue(const char* path, const std::string& name) {
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.rfind(name + ":", 0) == 0) return std::stoll(line.substr(name.size() + 1));
  }
  return 0;
}

struct IdleRun {
  WindowHandle dialog = 0;
  long long switchesBefore = 0;
  long long switchesAfter = 0;
  long long pssKib = 0;
  std::atomic<bool> stop{false};
  std::thread clock;
};

TEST(GtkIdle, AnIdleWindowWakesOnlyForTheClockAndStaysSmall) {
  IdleRun run;
  run.dialog = makeMainWindow();
  const FontId timeFont = createFont("MS Sans Serif", 24, 1, 0, 0, 0);
  setControlFont(run.dialog, 1001, timeFont);
  setControlCheck(run.dialog, 1003, 1);  // the check mark's icon is part of the cost

  runScripted(run.dialog, [&run] {
    run.switchesBefore = procValue("/proc/thread-self/status", "voluntary_ctxt_switches");
    run.clock = std::thread([&run] {
      for (int tick = 0; !run.stop; ++tick) {
        setControlText(run.dialog, 1001, "12:00:0" + std::to_string(tick / 2));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
      }
    });
    g_timeout_add(
        3000,
        [](gpointer data) -> gboolean {
          auto* run = static_cast<IdleRun*>(data);
          run->switchesAfter = procValue("/proc/thread-self/status", "voluntary_ctxt_switches");
          run->pssKib = procValue("/proc/self/smaps_rollup", "Pss");
          run->stop = true;
          endDialog(run->dialog, 0);
          return G_SOURCE_REMOVE;
        },
        &run);
  });
  run.clock.join();
  releaseFont(timeFont);

  const long long wakeups = run.switchesAfter - run.switchesBefore;
  std::printf("idle window: %lld wakeups of the dialog thread in 3 s, PSS %lld KiB\n", wakeups,
              run.pssKib);
  // Six texts, their drawing and the cursor's blinking: some tens of
  // wakeups. A loop polling every millisecond would wake 3000 times.
  EXPECT_LE(wakeups, 150);
  EXPECT_GT(run.pssKib, 0);
  EXPECT_LT(run.pssKib, 40 * 1024);
}

}  // namespace
