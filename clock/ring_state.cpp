#include "clock/ring_state.h"

#include <mutex>

std::int32_t RingTickLimit = 0;

namespace {

std::mutex RingLock;
std::uint8_t RingingAlarm = 0;
std::int32_t RingTick = 0;
std::uint32_t SilenceTicks = 0;

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
}

RingAnnouncement AdvanceRing(int matchingAlarm) {
  std::lock_guard<std::mutex> hold(RingLock);
  // A match switches the ring to that alarm without restarting its count;
  // no match leaves the ringing alarm as it is.
  if (matchingAlarm > 0) RingingAlarm = static_cast<std::uint8_t>(matchingAlarm);
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
  if (RingTick > 0 && (RingTick - 1) % kTicksBetweenAnnouncements == 0) {
    return RingAnnouncement{RingingAlarm, RingTick};
  }
  return RingAnnouncement{};
}

void StartSilence(std::uint32_t ticks) {
  std::lock_guard<std::mutex> hold(RingLock);
  RingTick = 0;
  SilenceTicks = ticks;
}
