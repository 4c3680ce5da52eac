#pragma once
// The in-memory extended dialog template (DLGTEMPLATEEX) of an empty dialog:
// no items, no menu, the default dialog class, a one-blank title (the real
// caption is set after creation) and the 8-point "MS Sans Serif" font.
#include <windows.h>

#include <vector>

// Held in DWORDs, so the template starts on a DWORD boundary as the dialog
// manager requires.
std::vector<DWORD> buildDialogTemplate(DWORD style, DWORD exStyle, int x, int y, int width,
                                       int height);
