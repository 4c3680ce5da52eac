#include "platform/gtk/dialog_units.h"

DialogUnits measureDialogUnits(PangoContext* context, const PangoFontDescription* font) {
  DialogUnits units;
  PangoLayout* layout = pango_layout_new(context);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  if (width > 0 && height > 0) {
    units.baseX = (width / 26 + 1) / 2;
    units.baseY = height;
  }
  return units;
}
