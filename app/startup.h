#pragma once
#include <cstdint>

#include "platform/text.h"

// What the program says before its window appears.
extern const Text kGreeting;

// The whole life of the process on its first thread: start-up, the two
// working threads, the wait for QuitFlag; or, while another clock runs, only
// a word that it does. Returns the exit code, always 0.
int BrightquillMain();

// Thread procedures, each in its own COM apartment.
std::uint32_t DialogThread(std::uintptr_t unused);
std::uint32_t ClockThreadProcedure(std::uintptr_t unused);
