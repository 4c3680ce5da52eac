#pragma once
// One tick of the clock thread, callable on its own so that tests can drive
// ticks one by one on simulated time.

// Everything of one pass of the clock loop after its QuitFlag check: reads
// the time, shows it, matches the alarms, counts the ring and silence,
// announces on the ring's announcement ticks, then pauses and takes at most
// one message.
void ClockTick();

// Fetches a new saying for alarm E on the first announcement of its ring.
// RefreshAlarmESaying by default; tests put a stand-in here.
extern void (*AlarmESayingRefresh)();
