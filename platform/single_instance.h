#pragma once
// One clock per user: the first start holds a lock for the rest of its life,
// and the system drops the lock when the process ends, however it ends.
#include "platform/text.h"

// Takes the lock; false when another running clock holds it. Where no lock
// can be made at all, the program goes on as the only clock. settingsFolder
// is where a system without a better place keeps the lock.
bool claimSingleInstance(const Text& settingsFolder);
// For a start that found the lock held: brings the running clock's window,
// captioned windowCaption, to the front where the system lets it, and says
// on stderr that Brightquill is already running.
void showRunningInstance(const Text& windowCaption);
