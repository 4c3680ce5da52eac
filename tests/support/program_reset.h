#pragma once
// Puts the program's shared state and the test backends back to how a fresh
// process starts, so that tests of the clock, speech and sayings do not see
// each other's alarms, rings, voices or windows.
#include <vector>

#include "alarms/alarm_tables.h"
#include "app/app_state.h"
#include "clock/clock_tick.h"
#include "clock/ring_state.h"
#include "platform/memory/memory_dialog.h"
#include "platform/recording/recording_desktop_notice.h"
#include "platform/recording/recording_voice.h"
#include "platform/recording/recording_wake_timer.h"
#include "speech/speech.h"
#include "tests/support/simulated_clock.h"

inline void resetProgramForTest() {
  // This thread's voice from an earlier test goes back before the recording
  // voice forgets which voices exist.
  ReleaseThreadVoice();
  resetSimulatedClock();
  resetRecordingVoice();
  resetMemoryToolkit();
  ClearAlarmTables();
  ResetRingState();
  ForgetEarlierTicks();
  resetRecordingWakeTimer();
  resetRecordingDesktopNotices();
  RingTickLimit = 600;
  MainWindow = 0;
  QuitFlag = false;
}

// What the recording voice said, in order.
inline std::vector<Text> spokenTexts() {
  std::vector<Text> texts;
  for (const Utterance& utterance : spokenUtterances()) texts.push_back(utterance.text);
  return texts;
}
