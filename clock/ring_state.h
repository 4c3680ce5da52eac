#pragma once
// The ring state: which alarm rings, how far its ring has run and how long a
// silence still holds. The clock thread and SilenceRinging change it under
// one lock, so a tick never sees half of the Silencer's update.
#include <cstdint>

#include "platform/text.h"

// The number of ticks one ring lasts; set at start-up before any thread runs.
extern std::int32_t RingTickLimit;

// A ring's text is announced on ring ticks 1, 31, 61, ...
inline constexpr std::int32_t kTicksBetweenAnnouncements = 30;

struct RingState {
  int ringingAlarm = 0;  // 0: none; 1..5: alarm A..E
  std::int32_t ringTick = 0;
  std::uint32_t silenceTicks = 0;
};

// What a tick's ring step decided to announce: the alarm whose text is
// spoken (0: nothing this tick), the ring tick it was decided on, and the
// sentence that says how late the alarm rings, said before its text on its
// first announcement (empty for an alarm on time).
struct RingAnnouncement {
  int alarm = 0;
  std::int32_t ringTick = 0;
  Text latenessSentence;
};

// One tick's ring step: its announcement, and whether a ring runs after it.
struct RingStep {
  RingAnnouncement announcement;
  bool ringing = false;
};

// One consistent copy of the ring state.
RingState RingStateNow();
// Back to quiet: no ring, no silence.
void ResetRingState();

// One tick's ring step, all under the ring lock: the due alarm (0 for none)
// becomes the ringing one, with its lateness sentence kept for its first
// announcement; a running silence counts down and keeps every alarm quiet, a
// running ring counts on and ends after RingTickLimit ticks; then whether
// this tick announces.
RingStep AdvanceRing(int dueAlarm, const Text& latenessSentence = Text());
// The Silencer's update, as one: the ring stops and no alarm rings for the
// given number of ticks.
void StartSilence(std::uint32_t ticks);
// Ends a running silence; a running ring goes on.
void EndSilence();
