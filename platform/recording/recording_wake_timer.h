#pragma once
// The test side of the recording wake timer: each call, in order, as text:
// "set <UTC seconds>", "cancel", "awake on" or "awake off".
#include <string>
#include <vector>

std::vector<std::string> wakeTimerCalls();
void resetRecordingWakeTimer();
