#include "clock/ring_state.h"

#include <mutex>

std::int32_t RingTickLimit = 0;

namespace {

std::mutex RingLock;
std::uint8_t RingingAlarm = 0;
std::int32_t RingTick = 0;
std::uint32_t SilenceTicks = 0;
// The ringing alarm's lateness sentence until its next announcement says it.
Text PendingLatenessSentence;

}  // namespace

RingState RingStateNow() {
  std::lock_guard<std::mutex> hold(RingLock);
  return RingState{RingingAlarm, RingTick, SilenceTicks};
}

void ResetRingState() {
  std::lock_guard<std::mutex> hold(RingLock);
  RingingAlarm = 0;
  RingTick = 0;
  SilenceTicks = 0;
  PendingLatenessSentence.clear();
}

RingStep AdvanceRing(int dueAlarm, const Text& latenessSentence) {
  std::lock_guard<std::mutex> hold(RingLock);
  // A due alarm switches the ring to that alarm without restarting its
  // count; none leaves the ringing alarm as it is.
  if (dueAlarm > 0) {
    RingingAlarm = static_cast<std::uint8_t>(dueAlarm);
    PendingLatenessSentence = latenessSentence;
  }
  if (SilenceTicks > 0) {
    --SilenceTicks;
    RingingAlarm = 0;
  }
  if (RingingAlarm > 0) {
    ++RingTick;
    if (RingTick > RingTickLimit) {
      RingingAlarm = 0;
      RingTick = 0;
    }
  }
  if (RingingAlarm == 0) PendingLatenessSentence.clear();
  RingStep step;
  step.ringing = RingingAlarm > 0;
  if (RingTick > 0 && (RingTick - 1) % kTicksBetweenAnnouncements == 0) {
    step.announcement = RingAnnouncement{RingingAlarm, RingTick, PendingLatenessSentence};
    PendingLatenessSentence.clear();
  }
  return step;
}

void EndSilence() {
  std::lock_guard<std::mutex> hold(RingLock);
  SilenceTicks = 0;
}

void StartSilence(std::uint32_t ticks) {
  std::lock_guard<std::mutex> hold(RingLock);
  RingTick = 0;
  SilenceTicks = ticks;
}
