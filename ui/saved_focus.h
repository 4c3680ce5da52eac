#pragma once
#include "platform/dialog.h"

// The control that had the keyboard focus when the main window was last
// deactivated; 0 once it has been given the focus back. Dialog thread only.
extern WindowHandle SavedFocus;
