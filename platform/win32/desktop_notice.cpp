// Windows has no desktop notice here by design: a notification there would
// need an AppUserModelID and a Start-menu shortcut that the portable exe does
// not have, and a balloon needs a tray icon the clock never shows. The notice
// the clock shows in its window and says aloud is the whole of it.
#include "platform/desktop_notice.h"

void showDesktopNotice(const Text&, const Text&) {}
