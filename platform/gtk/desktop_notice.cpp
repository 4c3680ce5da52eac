// Desktop notices of the Linux desktop program, through the desktop's
// notification service (libnotify). Called only when a notice is given, from
// the clock thread; GDBus, under libnotify, may be used from any thread.
#include "platform/desktop_notice.h"

#include <libnotify/notify.h>

#include <mutex>

#include "platform/posix/utf8_text.h"

namespace {

std::once_flag started;
bool ready = false;

}  // namespace

void showDesktopNotice(const Text& summary, const Text& body) {
  std::call_once(started, [] { ready = notify_init("Brightquill"); });
  if (!ready) return;
  NotifyNotification* notice = notify_notification_new(
      ansiToUtf8(summary).c_str(), ansiToUtf8(body).c_str(), "brightquill");
  // A missed alarm stays on the desktop until the user has seen it.
  notify_notification_set_urgency(notice, NOTIFY_URGENCY_CRITICAL);
  notify_notification_set_timeout(notice, NOTIFY_EXPIRES_NEVER);
  notify_notification_set_hint(notice, "desktop-entry",
                               g_variant_new_string("com.brightquill.Brightquill"));
  // Without a session bus or a notification service this fails; the notice
  // was shown and said in the window already, so the error is let go.
  GError* error = nullptr;
  notify_notification_show(notice, &error);
  g_clear_error(&error);
  g_object_unref(notice);
}
