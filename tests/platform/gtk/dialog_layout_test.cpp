// The main window's layout over GTK: dialog units measured from the dialog
// font, controls at their rectangles, the two bold fonts and the names that
// screen readers read.
#include <gtest/gtest.h>

#include "platform/gtk/toolkit_start.h"
#include "tests/platform/gtk/gtk_test_dialog.h"

namespace {

struct PixelRect {
  int id;
  int x, y, width, height;
};

// Rectangles in pixels of base units 6 x 13, each corner rounded on its own.
const PixelRect kRects[] = {
    {1001, 8, 8, 172, 49},     // the time box, 115 x 30 units
    {1002, 188, 8, 210, 155},  // "Alarms"
    {1007, 225, 33, 30, 24},   // alarm A's hour: a 15-unit edit box
    {1009, 300, 33, 38, 24},   // "p.m."
    {1010, 345, 33, 38, 24},   // A's "set"
    {1025, 8, 171, 172, 40},   // the product-name button
    {1032, 15, 236, 375, 24},  // the text to speak
    {1035, 308, 276, 90, 33},  // "Test"
};

struct FontCase {
  int id;
  int pixels;  // at 96 dpi
  PangoWeight weight;
};

const FontCase kFonts[] = {
    {1001, 32, PANGO_WEIGHT_BOLD},    // 24 points
    {1032, 13, PANGO_WEIGHT_BOLD},    // 10 points: 13.33
    {1023, 11, PANGO_WEIGHT_NORMAL},  // the dialog font, 8 points
};

PangoFontDescription* fontOf(GtkWidget* widget) {
  PangoFontDescription* font = nullptr;
  GtkStyleContext* style = gtk_widget_get_style_context(widget);
  gtk_style_context_get(style, gtk_style_context_get_state(style), "font", &font, nullptr);
  return font;
}

TEST(GtkLayout, ControlsSitAtTheirRectanglesInTheDialogFontsUnits) {
  const WindowHandle dialog = makeMainWindow();
  ASSERT_NE(dialog, 0u);
  EXPECT_EQ(runScripted(dialog, [dialog] {
    GtkWidget* window = windowOf(dialog);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), kMainWindowCaption);
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));
    EXPECT_EQ(gtk_widget_get_allocated_width(window), 407);  // 271 units
    EXPECT_EQ(gtk_widget_get_allocated_height(window), 314);  // 193 units
    EXPECT_EQ(gtk_dialog::findDialog(dialog)->units.baseX, 6);
    EXPECT_EQ(gtk_dialog::findDialog(dialog)->units.baseY, 13);
    for (const PixelRect& want : kRects) {
      SCOPED_TRACE(want.id);
      GtkAllocation got;
      gtk_widget_get_allocation(widgetOf(dialog, want.id), &got);
      EXPECT_EQ(got.x, want.x);
      EXPECT_EQ(got.y, want.y);
      EXPECT_EQ(got.width, want.width);
      EXPECT_EQ(got.height, want.height);
    }
    // No control is larger than its rectangle, whatever the theme asks for.
    for (const ControlLayout& c : MainWindowLayout) {
      SCOPED_TRACE(c.id);
      GtkWidget* widget = widgetOf(dialog, c.id);
      int width = 0, height = 0;
      gtk_widget_get_size_request(widget, &width, &height);
      EXPECT_EQ(gtk_widget_get_allocated_width(widget), width);
      EXPECT_EQ(gtk_widget_get_allocated_height(widget), height);
    }
    endDialog(dialog, 5);
  }), 5);
}

TEST(GtkLayout, FontsGetPixelHeightsFromTheScreensResolution) {
  const WindowHandle dialog = makeMainWindow();
  ASSERT_DOUBLE_EQ(gtk_dialog::screenDpi(), 96);
  const FontId timeFont = createFont("MS Sans Serif", 24, 1, 0, 0, 0);
  const FontId speakFont = createFont("MS Sans Serif", 10, 1, 0, 0, 0);
  setControlFont(dialog, 1001, timeFont);
  setControlFont(dialog, 1032, speakFont);
  for (const FontCase& want : kFonts) {
    SCOPED_TRACE(want.id);
    PangoFontDescription* font = fontOf(widgetOf(dialog, want.id));
    // GTK gives the size in points of the screen's 96 dpi.
    EXPECT_EQ(pango_font_description_get_size(font), want.pixels * PANGO_SCALE * 72 / 96);
    EXPECT_EQ(pango_font_description_get_weight(font), want.weight);
    // What is drawn is the dialog font's family, not a fallback.
    PangoContext* context = gtk_widget_get_pango_context(widgetOf(dialog, want.id));
    PangoFont* loaded = pango_context_load_font(context, font);
    PangoFontDescription* drawn = pango_font_describe(loaded);
    EXPECT_STREQ(pango_font_description_get_family(drawn), "Liberation Sans");
    pango_font_description_free(drawn);
    g_object_unref(loaded);
    pango_font_description_free(font);
  }
  endDialog(dialog, 0);
  releaseFont(timeFont);
  releaseFont(speakFont);
}

TEST(GtkLayout, NamedControlsHaveTheirNamesForScreenReaders) {
  const WindowHandle dialog = makeMainWindow();
  for (const ControlLayout& c : MainWindowLayout) {
    if (c.accessibleName == nullptr) continue;
    AtkObject* accessible = gtk_widget_get_accessible(widgetOf(dialog, c.id));
    EXPECT_STREQ(atk_object_get_name(accessible), c.accessibleName);
  }
  // A captioned control is named by its caption.
  EXPECT_STREQ(atk_object_get_name(gtk_widget_get_accessible(widgetOf(dialog, 1024))),
               "Silencer");
  endDialog(dialog, 0);
}

}  // namespace
