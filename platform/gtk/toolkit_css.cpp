#include "platform/gtk/toolkit_css.h"

#include "platform/gtk/toolkit_start.h"
#include "platform/number_text.h"

namespace gtk_dialog {
namespace {

// A CSS string: quotes and backslashes escaped.
std::string quoted(const std::string& text) {
  std::string result = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') result += '\\';
    result += c;
  }
  return result + "\"";
}

GtkCssProvider* providerFrom(const std::string& css) {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
  return provider;
}

}  // namespace

int fontPixelsForPoints(double points) {
  return static_cast<int>(toInt32(static_cast<Number>(points) * screenDpi() / 72));
}

PangoFontDescription* newDialogFontDescription() {
  PangoFontDescription* font = pango_font_description_from_string(kDialogFontFamily);
  pango_font_description_set_absolute_size(font,
                                           fontPixelsForPoints(kDialogFontPoints) * PANGO_SCALE);
  return font;
}

void installToolkitCss(GdkScreen* screen) {
  const std::string css =
      "window { font-family: " + quoted(kDialogFontFamily) +
      "; font-size: " + std::to_string(fontPixelsForPoints(kDialogFontPoints)) + "px; }\n"
      "entry, button { min-height: 0; min-width: 0; padding: 0 2px; }\n"
      "checkbutton, radiobutton { min-height: 0; padding: 0; }\n"
      "check, radio { min-width: 13px; min-height: 13px; margin: 0 2px 0 0; }\n"
      "checkbutton label, radiobutton label { margin: 0; padding: 0; }\n";
  GtkCssProvider* provider = providerFrom(css);
  gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

GtkCssProvider* newFontProvider(const FontLook& look) {
  std::string css = "* { font-family: ";
  if (!look.face.empty()) css += quoted(look.face) + ", ";
  css += quoted(kDialogFontFamily) + "; font-size: " + std::to_string(look.pixels) + "px;";
  css += look.bold ? " font-weight: bold;" : " font-weight: normal;";
  css += look.italic ? " font-style: italic;" : " font-style: normal;";
  if (look.underline || look.strikeout) {
    css += " text-decoration-line:";
    if (look.underline) css += " underline";
    if (look.strikeout) css += " line-through";
    css += ";";
  }
  return providerFrom(css + " }\n");
}

}  // namespace gtk_dialog
