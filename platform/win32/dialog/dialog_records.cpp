#include "platform/win32/dialog/dialog_records.h"

#include <atomic>
#include <map>
#include <mutex>

namespace {

std::mutex recordsLock;
std::map<HWND, DialogRecord>& dialogRecords() {
  static std::map<HWND, DialogRecord> records;
  return records;
}
// The controls of each dialog, in creation order.
std::map<HWND, std::vector<ControlRecord>>& controlRecords() {
  static std::map<HWND, std::vector<ControlRecord>> records;
  return records;
}

std::atomic<int> openDialogs{0};
std::atomic<HWND> currentActiveDialog{nullptr};

}  // namespace

void addDialogRecord(const DialogRecord& record) {
  std::lock_guard<std::mutex> lock(recordsLock);
  // A handle can be reused once its window is gone: the new record wins.
  dialogRecords()[record.window] = record;
  controlRecords()[record.window].clear();
}

std::optional<DialogRecord> findDialogRecord(HWND dialog) {
  std::lock_guard<std::mutex> lock(recordsLock);
  auto found = dialogRecords().find(dialog);
  if (found == dialogRecords().end()) return std::nullopt;
  return found->second;
}

HFONT dialogFontOf(HWND dialog) {
  if (const std::optional<DialogRecord> record = findDialogRecord(dialog)) return record->font;
  return reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
}

void registerHandler(HWND dialog, DialogHandler handler) {
  std::lock_guard<std::mutex> lock(recordsLock);
  auto found = dialogRecords().find(dialog);
  if (found == dialogRecords().end()) return;
  found->second.handler = handler;
  found->second.modal = true;
}

void setResultTarget(HWND dialog, MessageResult* target) {
  std::lock_guard<std::mutex> lock(recordsLock);
  auto found = dialogRecords().find(dialog);
  if (found != dialogRecords().end()) found->second.resultTarget = target;
}

bool beginEnding(HWND dialog, MessageResult result) {
  std::lock_guard<std::mutex> lock(recordsLock);
  auto found = dialogRecords().find(dialog);
  if (found == dialogRecords().end()) return true;  // not ours: just end it
  DialogRecord& record = found->second;
  if (record.ending) return false;
  record.ending = true;
  if (record.resultTarget != nullptr) *record.resultTarget = result;
  return true;
}

void addControlRecord(HWND dialog, const ControlRecord& control) {
  std::lock_guard<std::mutex> lock(recordsLock);
  if (dialogRecords().count(dialog) != 0) controlRecords()[dialog].push_back(control);
}

std::optional<FontId> swapControlFont(HWND dialog, HWND control, FontId font) {
  std::lock_guard<std::mutex> lock(recordsLock);
  auto found = controlRecords().find(dialog);
  if (found == controlRecords().end()) return std::nullopt;
  for (ControlRecord& record : found->second) {
    if (record.window != control) continue;
    const FontId previous = record.font;
    record.font = font;
    return previous;
  }
  return std::nullopt;
}

std::vector<ControlRecord> removeDialogRecord(HWND dialog) {
  std::lock_guard<std::mutex> lock(recordsLock);
  dialogRecords().erase(dialog);
  auto found = controlRecords().find(dialog);
  if (found == controlRecords().end()) return {};
  std::vector<ControlRecord> controls = std::move(found->second);
  controlRecords().erase(found);
  return controls;
}

void noteDialogOpened() { openDialogs.fetch_add(1); }

void noteDialogClosed(HWND dialog) {
  openDialogs.fetch_sub(1);
  clearActiveDialog(dialog);
}

int openDialogCount() { return openDialogs.load(); }

void setActiveDialog(HWND dialog) { currentActiveDialog.store(dialog); }

void clearActiveDialog(HWND dialog) {
  HWND expected = dialog;
  currentActiveDialog.compare_exchange_strong(expected, nullptr);
}

HWND activeDialog() { return currentActiveDialog.load(); }
