#pragma once
// The test side of the recording desktop notices: each notice's summary and
// body, in order.
#include <vector>

#include "platform/text.h"

struct DesktopNotice {
  Text summary;
  Text body;
};

std::vector<DesktopNotice> desktopNotices();
void resetRecordingDesktopNotices();
