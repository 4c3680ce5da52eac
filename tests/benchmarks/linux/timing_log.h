#pragma once
// The time-stamped log of a timed build of the program: one line per event,
// "EVENT UNIX_MS [TEXT]", appended to the file that BQ_TIMING_LOG names
// (nothing is written when it is not set). Safe from any thread.
#include <string>

// Milliseconds since 1970-01-01 UTC, with fractions; comparable with `date`.
double timingNowMs();
// Appends "event ms text" (text with CR and LF shown as \r and \n).
void appendTimingLine(const std::string& event, double ms, const std::string& text);
