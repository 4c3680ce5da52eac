#pragma once
// Controls of a destroyed dialog no longer show their fonts.
#include <vector>

#include "platform/win32/dialog/dialog_records.h"

void dropFontUsers(const std::vector<ControlRecord>& controls);
