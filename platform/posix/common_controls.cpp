#include "platform/common_controls.h"

// No common-controls library on POSIX; the window toolkit needs none.
void loadCommonControls() {}
