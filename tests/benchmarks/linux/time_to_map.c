/* bq_time_to_map TITLE TIMEOUT_MS PROGRAM [ARGS...]
 *
 * Starts PROGRAM and prints the milliseconds from its start to the mapping of
 * a top-level window whose title contains TITLE, then kills the program and
 * exits 0. Exits 1 when no such window is
 * mapped within TIMEOUT_MS, 2 on a usage or X error.
 *
 * Without a window manager every top-level window is a child of the root
 * window, so the root's SubstructureNotify events show each map. A window
 * mapped before its title is set is watched for the title (its map time
 * counts). */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

/* Whether the window's title (_NET_WM_NAME, else WM_NAME) contains part. */
static int titleHas(Display* display, Window window, const char* part) {
  int found = 0;
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* value = NULL;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &value) == Success &&
      value != NULL) {
    found = strstr((const char*)value, part) != NULL;
    XFree(value);
    if (found) return 1;
  }
  char* name = NULL;
  if (XFetchName(display, window, &name) && name != NULL) {
    found = strstr(name, part) != NULL;
    XFree(name);
  }
  return found;
}

static int ignoreErrors(Display* display, XErrorEvent* error) {
  (void)display;
  (void)error;
  return 0; /* a window that went away between the event and our look */
}

/* Only the start is measured; the program needs no orderly end. */
static void endChild(pid_t child) {
  kill(child, SIGKILL);
  waitpid(child, NULL, 0);
}

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "use: bq_time_to_map TITLE TIMEOUT_MS PROGRAM [ARGS...]\n");
    return 2;
  }
  const char* title = argv[1];
  const double timeoutMs = atof(argv[2]);
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fprintf(stderr, "bq_time_to_map: no display\n");
    return 2;
  }
  XSetErrorHandler(ignoreErrors);
  Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const double start = nowMs();
  pid_t child = fork();
  if (child == 0) {
    /* The program's output is not wanted, and whatever it starts (wineserver)
     * must not hold our standard output open. */
    int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    close(devNull);
    execvp(argv[3], argv + 3);
    _exit(127);
  }
  if (child < 0) return 2;

  Window pending[64]; /* mapped, title not yet matching */
  double pendingAt[64];
  int pendingCount = 0;
  double mappedAt = -1;
  while (mappedAt < 0) {
    double left = start + timeoutMs - nowMs();
    if (left <= 0) break;
    if (!XPending(display)) {
      struct pollfd watched = {ConnectionNumber(display), POLLIN, 0};
      poll(&watched, 1, (int)left + 1);
      if (!XPending(display)) continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    const double at = nowMs();
    if (event.type == MapNotify && event.xmap.event == root) {
      Window window = event.xmap.window;
      if (titleHas(display, window, title)) {
        mappedAt = at;
      } else if (pendingCount < 64) {
        XSelectInput(display, window, PropertyChangeMask);
        pending[pendingCount] = window;
        pendingAt[pendingCount++] = at;
      }
    } else if (event.type == PropertyNotify) {
      for (int i = 0; i < pendingCount; ++i) {
        if (pending[i] == event.xproperty.window && titleHas(display, pending[i], title)) {
          mappedAt = pendingAt[i];
        }
      }
    }
  }
  endChild(child);
  XCloseDisplay(display);
  if (mappedAt < 0) {
    fprintf(stderr, "bq_time_to_map: no window titled *%s* within %.0f ms\n", title, timeoutMs);
    return 1;
  }
  printf("%.1f\n", mappedAt - start);
  return 0;
}
