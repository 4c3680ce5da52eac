#pragma once
// Dialog units: positions and sizes of a dialog and its controls, a quarter
// of the dialog font's average character width across and an eighth of its
// height down. Pixels are rounded as MapDialogRect rounds them.

struct DialogUnits {
  int baseX = 6;   // average character width in pixels ("MS Sans Serif" 8 pt at 96 dpi)
  int baseY = 13;  // character height in pixels
  int toPixelsX(int units) const;
  int toPixelsY(int units) const;
};
