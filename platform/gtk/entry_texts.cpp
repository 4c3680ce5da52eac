#include "platform/gtk/entry_texts.h"

#include <map>
#include <mutex>

namespace gtk_dialog {
namespace {

struct EntryTexts {
  std::mutex lock;
  std::map<WindowHandle, std::string> shown;  // control handles are never reused
};

EntryTexts& entryTexts() {
  static EntryTexts* const instance = new EntryTexts;
  return *instance;
}

}  // namespace

void rememberEntryText(WindowHandle control, const char* utf8) {
  std::lock_guard<std::mutex> hold(entryTexts().lock);
  entryTexts().shown[control] = utf8 != nullptr ? utf8 : "";
}

bool entryShows(WindowHandle control, const std::string& utf8) {
  std::lock_guard<std::mutex> hold(entryTexts().lock);
  const auto found = entryTexts().shown.find(control);
  return found != entryTexts().shown.end() && found->second == utf8;
}

}  // namespace gtk_dialog
