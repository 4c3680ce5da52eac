#pragma once
// The local time of day and plain pauses. Logic code takes all of its time
// from here, so tests can link a simulated clock in place of the real one.
#include <cstdint>

#include "platform/text.h"

// Local time as eight characters "hh:mm:ss", 24-hour clock, zero-padded.
Text timeOfDay();
void sleepMs(std::uint32_t milliseconds);
