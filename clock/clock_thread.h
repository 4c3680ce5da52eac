#pragma once
#include <cstdint>

// The clock thread: ticks about twice a second until QuitFlag is set.
std::uint32_t ClockThread(std::uintptr_t unused);
// Stops a running ring and keeps every alarm quiet for the rest of the minute.
void SilenceRinging();
