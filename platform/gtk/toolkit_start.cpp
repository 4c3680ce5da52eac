#include "platform/gtk/toolkit_start.h"

#include <gtk/gtk.h>

#include <mutex>
#include <optional>
#include <thread>

#include "platform/gtk/toolkit_css.h"

namespace gtk_dialog {
namespace {

std::mutex startLock;
std::optional<std::thread::id> toolkitThread;  // set once GTK has started
bool startFailed = false;

}  // namespace

void prepareToolkitEnvironment() {
  // The widgets are drawn with cairo; without this GTK loads OpenGL at
  // start-up, which costs more memory than the whole window.
  g_setenv("GDK_GL", "disable", FALSE);
  // The windows' class (Brightquill) comes from this name, whatever name the
  // program was started by: the desktop entry's StartupWMClass, and how a
  // second start knows the clock.
  g_set_prgname("brightquill");
}

bool displayCanBeOpened() {
  // GDK reads its environment (GDK_GL above) here, or the display would
  // load OpenGL after all.
  gdk_parse_args(nullptr, nullptr);
  GdkDisplay* display = gdk_display_open(nullptr);
  if (display == nullptr) return false;
  gdk_display_close(display);
  return true;
}

bool startToolkitOnThisThread() {
  std::lock_guard<std::mutex> hold(startLock);
  if (toolkitThread) return *toolkitThread == std::this_thread::get_id();
  if (startFailed) return false;
  // The process keeps its locale: other threads format text meanwhile, and
  // the program's text is converted explicitly at the toolkit's edge.
  gtk_disable_setlocale();
  if (!gtk_init_check(nullptr, nullptr)) {
    startFailed = true;
    return false;
  }
  toolkitThread = std::this_thread::get_id();
  installToolkitCss(gdk_screen_get_default());
  return true;
}

bool onToolkitThread() {
  std::lock_guard<std::mutex> hold(startLock);
  return toolkitThread && *toolkitThread == std::this_thread::get_id();
}

double screenDpi() {
  const double dpi = gdk_screen_get_resolution(gdk_screen_get_default());
  return dpi > 0 ? dpi : 96;
}

}  // namespace gtk_dialog
