// Toolkit fonts: described by createFont, made on first use with a pixel
// height from the screen's resolution, counted per control that shows them,
// and freed once given back and shown nowhere. A control shows a font
// through a style provider of its own.
#include "platform/dialog.h"
#include "platform/font_table.h"
#include "platform/gtk/dialog_fonts.h"
#include "platform/gtk/hand_over.h"
#include "platform/gtk/toolkit_css.h"
#include "platform/posix/utf8_text.h"

using namespace gtk_dialog;

namespace {

constexpr std::size_t kMaxFaceLength = 31;
constexpr guint kFontPriority = GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1;

struct FontDescription {
  Text face;
  double points = 8;
  int styleBits = 0;  // 1 bold, 2 italic, 4 underline, 8 strikeout
};

using Fonts = FontTable<FontDescription, GtkCssProvider*>;
Fonts& fonts() {
  // Never destroyed, so threads that outlive static destruction still find it.
  static Fonts* const table = new Fonts([](GtkCssProvider* provider) { g_object_unref(provider); });
  return *table;
}

GtkCssProvider* newProviderFor(const FontDescription& font) {
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
GtkCssProvider* providerOf(FontId font) { return fonts().made(font, newProviderFor); }

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
  FontDescription font;
  font.face = face.substr(0, kMaxFaceLength);
  font.points = points == 0 ? 8 : points;
  font.styleBits = styleBits;
  return fonts().add(font);
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
    fonts().countUser(font, +1);
    fonts().countUser(*previous, -1);
  });
}

void releaseFont(FontId font) { fonts().release(font); }

namespace gtk_dialog {

void dropFontUsers(const std::vector<ControlRecord>& controls) {
  for (const ControlRecord& control : controls) fonts().countUser(control.font, -1);
}

}  // namespace gtk_dialog
