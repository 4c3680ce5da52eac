#pragma once
// Runs the probe hook (tests/e2e/hook) inside the program's dialog thread
// and returns its answer: the dialog's MapDialogRect of the given
// dialog-unit rectangles, the fonts of the dialog and its controls, and the
// dialog's icons.
#include <windows.h>

#include <optional>
#include <vector>

#include "tests/e2e/hook/probe_protocol.h"

std::optional<ProbeBlock> runProbe(HWND dialog, const std::vector<RECT>& dialogUnitRects);
