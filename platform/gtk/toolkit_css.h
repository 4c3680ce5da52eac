#pragma once
// The toolkit's look: the dialog font, controls exactly as large as their
// rectangles, and the fonts that single controls are given.
#include <gtk/gtk.h>

#include <string>

namespace gtk_dialog {

// The dialog font, the stand-in for the 8-point "MS Sans Serif" of Windows
// dialogs with the same average width and height.
inline constexpr const char* kDialogFontFamily = "Liberation Sans";
inline constexpr double kDialogFontPoints = 8;

// A font's character height in pixels: points * dpi / 72 of this screen,
// rounded to the nearest integer, halves to even.
int fontPixelsForPoints(double points);
// The dialog font as Pango describes it; the caller frees it.
PangoFontDescription* newDialogFontDescription();

// Application-wide CSS: the dialog font, and no theme minimum sizes or
// padding that would make a control larger than its rectangle.
void installToolkitCss(GdkScreen* screen);

struct FontLook {
  std::string face;  // UTF-8; the dialog font's family stands in when missing
  int pixels = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};
// A style provider that shows one control's text in this font.
GtkCssProvider* newFontProvider(const FontLook& look);

}  // namespace gtk_dialog
