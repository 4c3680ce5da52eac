// Fonts: records addressed by id, with a count of the controls using each.
#include "platform/memory/memory_toolkit_state.h"

namespace {

constexpr FontId kLastToolkitFont = 3;  // 1..3 belong to the toolkit itself
constexpr std::size_t kFaceLimit = 31;

}  // namespace

namespace memory_toolkit {

void dropFontUse(MemoryControl& control) {
  auto found = state().fonts.find(control.font);
  if (found != state().fonts.end() && found->second.useCount > 0) --found->second.useCount;
  control.font = 0;
}

}  // namespace memory_toolkit

using namespace memory_toolkit;

FontId createFont(const Text& face, double points, int styleBits, int /*charset*/,
                  int /*pitchAndFamily*/, int /*angle*/) {
  std::lock_guard<std::mutex> hold(state().lock);
  const FontId id = state().nextFont++;
  MemoryFont& font = state().fonts[id];
  font.face = face.substr(0, kFaceLimit);
  font.points = points == 0 ? 8 : points;
  font.styleBits = styleBits;
  return id;
}

void setControlFont(WindowHandle dialog, int id, FontId font) {
  std::lock_guard<std::mutex> hold(state().lock);
  MemoryControl* control = liveControl(dialog, id);
  if (control == nullptr) return;
  auto found = state().fonts.find(font);
  const bool toolkitFont = font >= 0 && font <= kLastToolkitFont;
  if (!toolkitFont && found == state().fonts.end()) return;
  if (control->font == font) return;
  dropFontUse(*control);
  control->font = font;
  if (found != state().fonts.end()) {
    ++found->second.useCount;
    found->second.released = false;  // a released font is made again on use
  }
}

void releaseFont(FontId font) {
  std::lock_guard<std::mutex> hold(state().lock);
  auto found = state().fonts.find(font);
  if (found == state().fonts.end()) return;
  if (found->second.useCount == 0) found->second.released = true;
}

MemoryFont fontState(FontId font) {
  std::lock_guard<std::mutex> hold(state().lock);
  auto found = state().fonts.find(font);
  return found == state().fonts.end() ? MemoryFont{} : found->second;
}
