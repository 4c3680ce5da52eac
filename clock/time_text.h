#pragma once
// The clock's time values, written by the clock thread only.
#include <cstdint>

#include "platform/number_text.h"

extern Text TimeNow;  // "hh:mm:ss"
extern std::int16_t CurrentHour;
extern Number CurrentMinute;
extern Text TimeText;  // 10 characters, e.g. " 7:05:09 a"

// Sets CurrentHour, CurrentMinute and TimeText from TimeNow.
void MakeTimeText();
