// The wake timer interface, recording each call instead of setting a timer.
#include "platform/recording/recording_wake_timer.h"

#include <mutex>

#include "platform/wake_timer.h"

namespace {

std::mutex callsLock;
std::vector<std::string> calls;

void record(const std::string& call) {
  std::lock_guard<std::mutex> hold(callsLock);
  calls.push_back(call);
}

}  // namespace

void setWakeTime(std::int64_t utcSeconds) { record("set " + std::to_string(utcSeconds)); }
void cancelWakeTime() { record("cancel"); }
void keepAwake(bool on) { record(on ? "awake on" : "awake off"); }

std::vector<std::string> wakeTimerCalls() {
  std::lock_guard<std::mutex> hold(callsLock);
  return calls;
}

void resetRecordingWakeTimer() {
  std::lock_guard<std::mutex> hold(callsLock);
  calls.clear();
}
