#pragma once
// Controls of a destroyed dialog no longer show their fonts.
#include <vector>

#include "platform/gtk/gtk_records.h"

namespace gtk_dialog {

void dropFontUsers(const std::vector<ControlRecord>& controls);

}  // namespace gtk_dialog
