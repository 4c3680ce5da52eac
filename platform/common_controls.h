#pragma once
// Loads the system's common controls before any window is made.
// Silently skipped where they are not available.
void loadCommonControls();
