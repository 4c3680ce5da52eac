#include "platform/gtk/gtk_records.h"

#include <map>
#include <mutex>

namespace gtk_dialog {
namespace {

struct Records {
  std::mutex lock;
  std::map<WindowHandle, DialogRecord> dialogs;
  std::map<WindowHandle, std::vector<ControlRecord>> controls;  // in creation order
  WindowHandle nextHandle = 0x10010;
};

// Never destroyed, so threads that outlive static destruction still find it.
Records& records() {
  static Records* const instance = new Records;
  return *instance;
}

DialogRecord* dialogLocked(WindowHandle dialog) {
  auto found = records().dialogs.find(dialog);
  return found == records().dialogs.end() ? nullptr : &found->second;
}

ControlRecord* controlLocked(WindowHandle dialog, int id) {
  auto found = records().controls.find(dialog);
  if (found == records().controls.end()) return nullptr;
  for (ControlRecord& control : found->second) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

// The first control for which matches() holds, and its dialog.
template <typename Match>
std::optional<ControlRecord> findControlWhere(Match matches, WindowHandle* dialog) {
  std::lock_guard<std::mutex> hold(records().lock);
  for (const auto& [owner, controls] : records().controls) {
    for (const ControlRecord& control : controls) {
      if (!matches(control)) continue;
      if (dialog != nullptr) *dialog = owner;
      return control;
    }
  }
  return std::nullopt;
}

}  // namespace

WindowHandle newHandle() {
  std::lock_guard<std::mutex> hold(records().lock);
  const WindowHandle handle = records().nextHandle;
  records().nextHandle += 0x10;
  return handle;
}

void addDialogRecord(const DialogRecord& record) {
  std::lock_guard<std::mutex> hold(records().lock);
  records().dialogs[record.handle] = record;
  records().controls[record.handle].clear();
}

std::optional<DialogRecord> findDialog(WindowHandle dialog) {
  std::lock_guard<std::mutex> hold(records().lock);
  if (const DialogRecord* record = dialogLocked(dialog)) return *record;
  return std::nullopt;
}

std::optional<DialogRecord> newestDialogOf(std::thread::id owner) {
  std::lock_guard<std::mutex> hold(records().lock);
  for (auto it = records().dialogs.rbegin(); it != records().dialogs.rend(); ++it) {
    if (it->second.owner == owner) return it->second;
  }
  return std::nullopt;
}

bool dialogExists(WindowHandle dialog) {
  std::lock_guard<std::mutex> hold(records().lock);
  return dialogLocked(dialog) != nullptr;
}

void setNoRadio(WindowHandle dialog, GtkWidget* noRadio) {
  std::lock_guard<std::mutex> hold(records().lock);
  if (DialogRecord* record = dialogLocked(dialog)) record->noRadio = noRadio;
}

void registerHandler(WindowHandle dialog, DialogHandler handler, MessageResult* resultTarget) {
  std::lock_guard<std::mutex> hold(records().lock);
  if (DialogRecord* record = dialogLocked(dialog)) {
    record->handler = handler;
    record->resultTarget = resultTarget;
  }
}

bool beginEnding(WindowHandle dialog, MessageResult result) {
  std::lock_guard<std::mutex> hold(records().lock);
  DialogRecord* record = dialogLocked(dialog);
  if (record == nullptr || record->ending) return false;
  record->ending = true;
  if (record->resultTarget != nullptr) *record->resultTarget = result;
  return true;
}

std::optional<DialogRecord> removeDialogRecord(WindowHandle dialog,
                                               std::vector<ControlRecord>* controls) {
  std::lock_guard<std::mutex> hold(records().lock);
  auto found = records().dialogs.find(dialog);
  if (found == records().dialogs.end()) return std::nullopt;
  DialogRecord record = found->second;
  records().dialogs.erase(found);
  auto ownControls = records().controls.find(dialog);
  if (ownControls != records().controls.end()) {
    if (controls != nullptr) *controls = std::move(ownControls->second);
    records().controls.erase(ownControls);
  }
  return record;
}

void addControlRecord(WindowHandle dialog, const ControlRecord& control) {
  std::lock_guard<std::mutex> hold(records().lock);
  if (dialogLocked(dialog) != nullptr) records().controls[dialog].push_back(control);
}

std::optional<ControlRecord> findControl(WindowHandle dialog, int id) {
  std::lock_guard<std::mutex> hold(records().lock);
  if (const ControlRecord* control = controlLocked(dialog, id)) return *control;
  return std::nullopt;
}

std::optional<ControlRecord> findControlByWidget(const GtkWidget* widget, WindowHandle* dialog) {
  if (widget == nullptr) return std::nullopt;
  return findControlWhere([widget](const ControlRecord& c) { return c.widget == widget; }, dialog);
}

std::optional<ControlRecord> findControlByHandle(WindowHandle control, WindowHandle* dialog) {
  if (control == 0) return std::nullopt;
  return findControlWhere([control](const ControlRecord& c) { return c.handle == control; },
                          dialog);
}

std::vector<ControlRecord> controlsOf(WindowHandle dialog) {
  std::lock_guard<std::mutex> hold(records().lock);
  auto found = records().controls.find(dialog);
  return found == records().controls.end() ? std::vector<ControlRecord>{} : found->second;
}

std::optional<FontId> swapControlFont(WindowHandle dialog, int id, FontId font) {
  std::lock_guard<std::mutex> hold(records().lock);
  ControlRecord* control = controlLocked(dialog, id);
  if (control == nullptr) return std::nullopt;
  const FontId previous = control->font;
  control->font = font;
  return previous;
}

int openDialogCount() {
  std::lock_guard<std::mutex> hold(records().lock);
  return static_cast<int>(records().dialogs.size());
}

}  // namespace gtk_dialog
