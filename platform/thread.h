#pragma once
// Threads of the program: started at once with a 1 MiB stack.
#include <cstdint>

using ThreadHandle = std::uintptr_t;  // 0: no thread
using ThreadProc = std::uint32_t (*)(std::uintptr_t argument);

// Returns 0 when the thread cannot be started.
ThreadHandle startThread(ThreadProc procedure, std::uintptr_t argument);
// Gives the handle back; neither waits for the thread nor stops it.
void closeThreadHandle(ThreadHandle handle);
