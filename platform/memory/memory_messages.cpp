// The per-thread message queue: calls from other threads wait until the
// dialog's thread handles them, as sent window messages do on Windows.
#include "platform/clock.h"
#include "platform/memory/memory_toolkit_state.h"

namespace memory_toolkit {

namespace {

// requiredControl: when given, a missing control makes the call return at
// once, as GetDlgItem fails before anything is sent to the dialog's thread.
void runOnOwnerThread(WindowHandle dialog, const int* requiredControl,
                      std::function<void()> action) {
  ToolkitState& s = state();
  std::unique_lock<std::mutex> hold(s.lock);
  DialogRecord* record = liveDialog(dialog);
  if (record == nullptr) return;
  if (requiredControl != nullptr && liveControl(dialog, *requiredControl) == nullptr) return;
  if (record->owner == std::this_thread::get_id()) {
    hold.unlock();
    action();
    return;
  }
  auto call = std::make_shared<QueuedCall>();
  call->dialog = dialog;
  call->thread = record->owner;
  call->action = std::move(action);
  s.queue.push_back(call);
  s.changed.notify_all();
  s.changed.wait(hold, [&] { return call->done; });
}

int queuedFor(WindowHandle dialog) {
  int count = 0;
  for (const auto& call : state().queue) {
    if (call->dialog == dialog) ++count;
  }
  return count;
}

}  // namespace

void runOnDialogThread(WindowHandle dialog, std::function<void()> action) {
  runOnOwnerThread(dialog, nullptr, std::move(action));
}

void runForControl(WindowHandle dialog, int id, std::function<void()> action) {
  runOnOwnerThread(dialog, &id, std::move(action));
}

bool hasQueuedCallForThisThread() {
  const std::thread::id self = std::this_thread::get_id();
  for (const auto& call : state().queue) {
    if (call->thread == self) return true;
  }
  return false;
}

bool handleOneQueuedCall() {
  ToolkitState& s = state();
  const std::thread::id self = std::this_thread::get_id();
  std::shared_ptr<QueuedCall> call;
  {
    std::lock_guard<std::mutex> hold(s.lock);
    for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
      if ((*it)->thread == self) {
        call = *it;
        s.queue.erase(it);
        break;
      }
    }
  }
  if (!call) return false;
  call->action();
  std::lock_guard<std::mutex> hold(s.lock);
  call->done = true;
  s.changed.notify_all();
  return true;
}

void dropQueuedCalls(WindowHandle dialog) {
  ToolkitState& s = state();
  for (auto it = s.queue.begin(); it != s.queue.end();) {
    if ((*it)->dialog == dialog) {
      (*it)->done = true;
      it = s.queue.erase(it);
    } else {
      ++it;
    }
  }
  s.changed.notify_all();
}

}  // namespace memory_toolkit

using namespace memory_toolkit;

int pumpOneMessage(std::uint32_t milliseconds) {
  if (!handleOneQueuedCall()) sleepMs(milliseconds);
  std::lock_guard<std::mutex> hold(state().lock);
  return state().openDialogs;
}

int queuedMessageCount(WindowHandle dialog) {
  std::lock_guard<std::mutex> hold(state().lock);
  return queuedFor(dialog);
}

bool waitForQueuedMessages(WindowHandle dialog, int count) {
  std::unique_lock<std::mutex> hold(state().lock);
  state().changed.wait(hold, [&] { return queuedFor(dialog) >= count || !liveDialog(dialog); });
  return queuedFor(dialog) >= count;
}
