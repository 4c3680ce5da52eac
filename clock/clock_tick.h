#pragma once
// One tick of the clock thread, callable on its own so that tests can drive
// ticks one by one on simulated time.

// Everything of one pass of the clock loop after its QuitFlag check: reads
// the time, shows it, finds the alarms due (those of minutes skipped since
// the previous tick too), gives the notice of missed ones, counts the ring
// and silence, announces on the ring's announcement ticks, keeps the wake
// timer set, then pauses and takes at most one message.
void ClockTick();
// Forgets the previous tick and the wake time set, as at start-up.
void ForgetEarlierTicks();

// Fetches a new saying for alarm E on the first announcement of its ring.
// RefreshAlarmESaying by default; tests put a stand-in here.
extern void (*AlarmESayingRefresh)();
