#include "platform/win32/dialog/font_height.h"

#include "platform/number_text.h"

// -(points * dpi / 72), rounded to the nearest integer, halves to even, as
// every number the program stores into an integer.
int fontHeightForPoints(double points, int logPixelsY) {
  return toInt32(-(static_cast<Number>(points) * logPixelsY / 72));
}
