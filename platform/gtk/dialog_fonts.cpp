// Toolkit fonts: described by createFont, made on first use with a pixel
// height from the screen's resolution, counted per control that shows them,
// and freed once given back and shown nowhere. A control shows a font
// through a style provider of its own.
#include <map>
#include <mutex>

#include "platform/dialog.h"
#include "platform/gtk/dialog_fonts.h"
#include "platform/gtk/hand_over.h"
#include "platform/gtk/toolkit_css.h"
#include "platform/posix/utf8_text.h"

using namespace gtk_dialog;

namespace {

constexpr FontId kFirstProgramFont = 4;  // 1 to 3 belong to the toolkit itself
constexpr std::size_t kMaxFaceLength = 31;
constexpr guint kFontPriority = GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1;

struct FontRecord {
  Text face;
  double points = 8;
  int styleBits = 0;  // 1 bold, 2 italic, 4 underline, 8 strikeout
  GtkCssProvider* provider = nullptr;  // made on first use
  int users = 0;  // controls showing the font
  bool released = false;  // given back while still shown
};

std::mutex fontsLock;
FontId nextFont = kFirstProgramFont;
std::map<FontId, FontRecord>& fonts() {
  static std::map<FontId, FontRecord>* const records = new std::map<FontId, FontRecord>;
  return *records;
}

GtkCssProvider* newProviderFor(const FontRecord& font) {
  FontLook look;
  look.face = ansiToUtf8(font.face);
  look.pixels = fontPixelsForPoints(font.points);
  look.bold = (font.styleBits & 1) != 0;
  look.italic = (font.styleBits & 2) != 0;
  look.underline = (font.styleBits & 4) != 0;
  look.strikeout = (font.styleBits & 8) != 0;
  return newFontProvider(look);
}

// The font's style provider, made now if need be; nullptr when there is no
// such font. Dialog thread.
GtkCssProvider* providerOf(FontId font) {
  std::lock_guard<std::mutex> hold(fontsLock);
  auto found = fonts().find(font);
  if (found == fonts().end()) return nullptr;
  if (found->second.provider == nullptr) found->second.provider = newProviderFor(found->second);
  return found->second.provider;
}

// Frees the font once it has been given back and no control shows it.
// Called with the lock held.
void forgetIfUnused(std::map<FontId, FontRecord>::iterator font) {
  if (!font->second.released || font->second.users > 0) return;
  if (font->second.provider != nullptr) g_object_unref(font->second.provider);
  fonts().erase(font);
}

void countUser(FontId font, int change) {
  std::lock_guard<std::mutex> hold(fontsLock);
  auto found = fonts().find(font);
  if (found == fonts().end()) return;
  found->second.users += change;
  if (found->second.users < 0) found->second.users = 0;
  forgetIfUnused(found);
}

void showFont(GtkWidget* widget, GtkCssProvider* previous, GtkCssProvider* provider) {
  GtkStyleContext* style = gtk_widget_get_style_context(widget);
  if (previous != nullptr) gtk_style_context_remove_provider(style, GTK_STYLE_PROVIDER(previous));
  if (provider != nullptr) {
    gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(provider), kFontPriority);
  }
}

}  // namespace

FontId createFont(const Text& face, double points, int styleBits, int /*charset*/,
                  int /*pitchAndFamily*/, int /*angle*/) {
  FontRecord font;
  font.face = face.substr(0, kMaxFaceLength);
  font.points = points == 0 ? 8 : points;
  font.styleBits = styleBits;
  std::lock_guard<std::mutex> hold(fontsLock);
  const FontId id = nextFont++;
  fonts()[id] = font;
  return id;
}

void setControlFont(WindowHandle dialog, int id, FontId font) {
  if (!findControl(dialog, id)) return;
  runOnDialogThread(dialog, [dialog, id, font] {
    const std::optional<ControlRecord> control = findControl(dialog, id);
    if (!control) return;
    GtkCssProvider* provider = font == 0 ? nullptr : providerOf(font);
    if (provider == nullptr && font != 0) return;  // no such font
    const std::optional<FontId> previous = swapControlFont(dialog, id, font);
    if (!previous || *previous == font) return;
    showFont(control->widget, *previous == 0 ? nullptr : providerOf(*previous), provider);
    countUser(font, +1);
    countUser(*previous, -1);
  });
}

void releaseFont(FontId font) {
  if (font < kFirstProgramFont) return;
  std::lock_guard<std::mutex> hold(fontsLock);
  auto found = fonts().find(font);
  if (found == fonts().end()) return;
  found->second.released = true;
  forgetIfUnused(found);
}

namespace gtk_dialog {

void dropFontUsers(const std::vector<ControlRecord>& controls) {
  for (const ControlRecord& control : controls) countUser(control.font, -1);
}

}  // namespace gtk_dialog
