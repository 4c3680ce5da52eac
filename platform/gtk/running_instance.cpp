// A second start of the Linux program shows the clock that runs. On X11 the
// window with the clock's caption is mapped, raised and activated as a pager
// activates one, since the start is the user's own act. Wayland lets no
// program raise another's window, so there the start only says why it ends.
#include <X11/Xlib.h>

#include <cstdio>
#include <string>

#include "platform/posix/utf8_text.h"
#include "platform/single_instance.h"

namespace {

// A window may go between being listed and being read; Xlib's own handler
// would end the process for that.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

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

// Among the top-level windows and, where a window manager has put them in
// frames, their children.
Window findTitled(Display* display, Window parent, const std::string& title, int depth) {
  Window root = 0, grandparent = 0, found = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, parent, &root, &grandparent, &children, &count)) return 0;
  for (unsigned int i = count; i-- > 0 && found == 0;) {  // topmost first
    if (windowTitle(display, children[i]) == title) found = children[i];
  }
  for (unsigned int i = count; depth > 1 && i-- > 0 && found == 0;) {
    found = findTitled(display, children[i], title, depth - 1);
  }
  if (children != nullptr) XFree(children);
  return found;
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

void showRunningInstance(const Text& windowCaption) {
  // Absent while the running clock still greets, before its window exists.
  if (Display* display = XOpenDisplay(nullptr)) {
    XSetErrorHandler(ignoreXError);
    const Window window =
        findTitled(display, DefaultRootWindow(display), ansiToUtf8(windowCaption), 2);
    if (window != 0) bringToFront(display, window);
    XCloseDisplay(display);
  }
  std::fputs("brightquill: Brightquill is already running\n", stderr);
}
