#include "platform/dialog_units.h"

namespace {

// MulDiv's rounding: the nearest integer, halves away from zero.
int scaleRounded(int value, int multiplier, int divisor) {
  const long long product = static_cast<long long>(value) * multiplier;
  const long long half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

int DialogUnits::toPixelsX(int units) const { return scaleRounded(units, baseX, 4); }
int DialogUnits::toPixelsY(int units) const { return scaleRounded(units, baseY, 8); }
