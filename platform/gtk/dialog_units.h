#pragma once
#include <pango/pango.h>

#include "platform/dialog_units.h"

// Measures the dialog font as the Windows dialog manager does: the average
// width of the 52 letters, rounded, and the height of a line.
DialogUnits measureDialogUnits(PangoContext* context, const PangoFontDescription* font);
