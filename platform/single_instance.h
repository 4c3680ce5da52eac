#pragma once
// One clock per settings folder: the first start holds the folder's lock for
// the rest of its life, and the system drops the lock when the process ends,
// however it ends. Two clocks on one folder would ring every alarm twice and
// write their arm files over each other's.
#include "platform/text.h"

// Takes the lock of settingsFolder; false when another running clock holds
// it. Where no lock can be made at all, the program goes on as the only
// clock.
bool claimSingleInstance(const Text& settingsFolder);
// For a start that found the lock held: brings the window of the clock that
// holds settingsFolder, captioned windowCaption, to the front where the
// system lets it, and says on stderr that Brightquill is already running.
void showRunningInstance(const Text& settingsFolder, const Text& windowCaption);
