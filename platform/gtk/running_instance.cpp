// A second start of the Linux program shows the clock that runs. On X11 the
// clock's window is the one of the process named in the lock file, of the
// program's class and with the clock's caption: a stranger with the same
// caption, or a clock of other settings, is left alone. It is mapped, raised
// and activated as a pager activates one, since the start is the user's own
// act. Wayland lets no program raise another's window, so there the start
// only says why it ends.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/instance_lock_file.h"
#include "platform/posix/utf8_text.h"
#include "platform/single_instance.h"

namespace {

// WM_CLASS's class: GTK's from the program's name, and the desktop entry's
// StartupWMClass.
constexpr char kClockClass[] = "Brightquill";

// A window may go between being listed and being read; Xlib's own handler
// would end the process for that.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

// A property of 32-bit items of the given type; nothing when the window has
// none (or one of another type).
std::optional<std::vector<unsigned long>> items32(Display* display, Window window,
                                                  const char* name, Atom wanted) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False,
                         wanted, &type, &format, &count, &left, &data) != Success) {
    return std::nullopt;
  }
  std::optional<std::vector<unsigned long>> items;
  if (data != nullptr && type == wanted && format == 32) {
    const auto* first = reinterpret_cast<const unsigned long*>(data);
    items.emplace(first, first + count);
  }
  if (data != nullptr) XFree(data);
  return items;
}

// The UTF-8 title GTK gives a window; empty for one without.
std::string windowTitle(Display* display, Window window) {
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = 0;
  int format = 0;
  unsigned long length = 0, left = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 256,
                         False, utf8, &type, &format, &length, &left, &data) == Success &&
      data != nullptr) {
    if (type == utf8 && format == 8) title.assign(reinterpret_cast<const char*>(data), length);
    XFree(data);
  }
  return title;
}

struct Clock {
  pid_t pid;
  std::string title;
};

bool isClock(Display* display, Window window, const Clock& clock) {
  const auto pid = items32(display, window, "_NET_WM_PID", XA_CARDINAL);
  if (!pid || pid->size() != 1 || pid->front() != static_cast<unsigned long>(clock.pid)) {
    return false;
  }
  XClassHint hint{};
  if (XGetClassHint(display, window, &hint) == 0) return false;
  const bool ours = hint.res_class != nullptr && std::strcmp(hint.res_class, kClockClass) == 0;
  if (hint.res_name != nullptr) XFree(hint.res_name);
  if (hint.res_class != nullptr) XFree(hint.res_class);
  // The title tells the clock's window from GTK's own hidden ones.
  return ours && windowTitle(display, window) == clock.title;
}

// The windows that a running window manager manages, in whatever frames it
// has put them; nothing where no window manager runs.
std::optional<std::vector<unsigned long>> managedWindows(Display* display) {
  const Window root = DefaultRootWindow(display);
  const auto check = items32(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  if (!check || check->size() != 1) return std::nullopt;
  // A manager that has ended leaves its check behind, naming no window that
  // names itself.
  if (items32(display, check->front(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) != check) {
    return std::nullopt;
  }
  return items32(display, root, "_NET_CLIENT_LIST", XA_WINDOW);
}

// Without a window manager: every window below parent, at any depth.
Window findInTree(Display* display, Window parent, const Clock& clock) {
  Window root = 0, grandparent = 0, found = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, parent, &root, &grandparent, &children, &count)) return 0;
  for (unsigned int i = count; i-- > 0 && found == 0;) {  // topmost first
    if (isClock(display, children[i], clock)) {
      found = children[i];
    } else {
      found = findInTree(display, children[i], clock);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

Window findClock(Display* display, const Clock& clock) {
  if (const auto managed = managedWindows(display)) {
    for (const unsigned long window : *managed) {
      if (isClock(display, window, clock)) return window;
    }
    return 0;
  }
  return findInTree(display, DefaultRootWindow(display), clock);
}

void bringToFront(Display* display, Window window) {
  XMapRaised(display, window);
  XEvent activate{};
  activate.xclient.type = ClientMessage;
  activate.xclient.window = window;
  activate.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  activate.xclient.format = 32;
  activate.xclient.data.l[0] = 2;  // from a pager: asked for by the user
  activate.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &activate);
  XFlush(display);
}

}  // namespace

void showRunningInstance(const Text& settingsFolder, const Text& windowCaption) {
  // No process id while the running clock is still taking its lock; no
  // window while it greets.
  const Clock clock{instanceHolder(settingsFolder), ansiToUtf8(windowCaption)};
  if (clock.pid > 0) {
    if (Display* display = XOpenDisplay(nullptr)) {
      XSetErrorHandler(ignoreXError);
      const Window window = findClock(display, clock);
      if (window != 0) bringToFront(display, window);
      XCloseDisplay(display);
    }
  }
  std::fputs("brightquill: Brightquill is already running\n", stderr);
}
