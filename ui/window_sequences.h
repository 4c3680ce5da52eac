#pragma once
// The two spoken sequences of the main window's buttons. Dialog thread only.
#include "platform/dialog.h"

// "Exit": the farewell, one pending message, three seconds, then the end.
void RunExitSequence(WindowHandle window);
// "Test": says whatever the "Text to Speak" box holds; stores nothing.
void RunTestSequence(WindowHandle window);
