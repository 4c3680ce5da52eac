#pragma once
// Local times turned into UTC by the system's zone rules.
#include <cstdint>

// The first UTC second at which the local clock shows the given local minute
// (a minute number of local_minutes.h) or a later one: the minute itself for
// an ordinary time, its first pass for a time that the rules repeat, and the
// moment the clock jumps over it for a time that they skip.
std::int64_t FirstUtcSecondShowing(std::int64_t localMinute);
