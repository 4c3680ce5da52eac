#include "platform/gtk/hand_over.h"

#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>

#include "platform/gtk/gtk_records.h"

namespace gtk_dialog {
namespace {

struct HandOver {
  WindowHandle dialog = 0;
  std::function<void()> action;
  bool done = false;  // run, or dropped because the dialog ended
};

struct Waiting {
  std::mutex lock;
  std::condition_variable changed;
  std::list<std::shared_ptr<HandOver>> calls;
};

Waiting& waiting() {
  static Waiting* const instance = new Waiting;
  return *instance;
}

void finish(const std::shared_ptr<HandOver>& call) {
  {
    std::lock_guard<std::mutex> hold(waiting().lock);
    call->done = true;
    waiting().calls.remove(call);
  }
  // Woken with the lock free, so that the caller does not block on it again.
  waiting().changed.notify_all();
}

gboolean runHandedOver(gpointer data) {
  const auto& call = *static_cast<std::shared_ptr<HandOver>*>(data);
  {
    std::lock_guard<std::mutex> hold(waiting().lock);
    if (call->done) return G_SOURCE_REMOVE;  // the dialog has ended meanwhile
  }
  call->action();
  finish(call);
  return G_SOURCE_REMOVE;
}

void forget(gpointer data) { delete static_cast<std::shared_ptr<HandOver>*>(data); }

}  // namespace

void runOnDialogThread(WindowHandle dialog, std::function<void()> action) {
  const std::optional<DialogRecord> record = findDialog(dialog);
  if (!record) return;
  if (record->owner == std::this_thread::get_id()) {
    action();
    return;
  }
  auto call = std::make_shared<HandOver>();
  call->dialog = dialog;
  call->action = std::move(action);
  std::unique_lock<std::mutex> hold(waiting().lock);
  // Checked again under this lock: an end that removed the record has
  // dropped the waiting calls under it too, so none is left behind.
  if (!dialogExists(dialog)) return;
  waiting().calls.push_back(call);
  // An idle source of the main context rather than g_main_context_invoke,
  // which would run the call on this thread whenever the dialog's thread is
  // not inside its loop at that moment.
  GSource* source = g_idle_source_new();
  g_source_set_priority(source, G_PRIORITY_DEFAULT);
  g_source_set_callback(source, runHandedOver, new std::shared_ptr<HandOver>(call), forget);
  g_source_attach(source, g_main_context_default());
  g_source_unref(source);
  waiting().changed.wait(hold, [&call] { return call->done; });
}

void dropHandOvers(WindowHandle dialog) {
  std::lock_guard<std::mutex> hold(waiting().lock);
  for (auto it = waiting().calls.begin(); it != waiting().calls.end();) {
    if ((*it)->dialog == dialog) {
      (*it)->done = true;
      it = waiting().calls.erase(it);
    } else {
      ++it;
    }
  }
  waiting().changed.notify_all();
}

}  // namespace gtk_dialog
