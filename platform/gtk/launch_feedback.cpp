// A desktop launcher that starts a program with a startup ID shows "starting"
// until the program's first window maps or the program says it is done. A
// run that shows no window says so itself.
#include <gtk/gtk.h>

#include <string>

#include "platform/gtk/toolkit_start.h"

namespace gtk_dialog {

void endLaunchFeedback() {
  const char* given = g_getenv("DESKTOP_STARTUP_ID");
  if (given == nullptr || given[0] == '\0') return;
  // GDK takes the ID out of the environment as it starts.
  const std::string id = given;
  prepareToolkitEnvironment();
  gdk_parse_args(nullptr, nullptr);
  GdkDisplay* display = gdk_display_open(nullptr);
  if (display == nullptr) return;
  gdk_display_notify_startup_complete(display, id.c_str());
  gdk_display_close(display);
}

}  // namespace gtk_dialog
