#pragma once
// A notice on the desktop, beside what the clock shows and says: it stays
// with the desktop's notification service until the user dismisses it. Where
// there is no such service, nothing happens and nothing is printed.
#include "platform/text.h"

void showDesktopNotice(const Text& summary, const Text& body);
