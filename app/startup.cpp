#include "app/startup.h"

#include "alarms/alarm_files.h"
#include "alarms/alarm_tables.h"
#include "app/app_state.h"
#include "clock/ring_state.h"
#include "platform/clock.h"
#include "platform/com.h"
#include "platform/common_controls.h"
#include "platform/folder.h"
#include "platform/single_instance.h"
#include "platform/thread.h"
#include "speech/speech.h"
#include "ui/main_window_layout.h"

const Text kGreeting =
    "loading B Q C. Version 1.00. Copyright 2026, Brightquill Software. "
    "Please visit w w w dot brightquill dot com. "
    "Brightquill is a free clock that brings you inspirational sayings by the poet, semi-daily.";

int BrightquillMain() {
  // This thread speaks the greeting, so it lives in an apartment of its own.
  initThreadApartment();
  loadCommonControls();
  ClearAlarmTables();
  RingTickLimit = 2 * 300;
  SettingsFolder = "c:\\quillhaven";
  makeFolder(SettingsFolder);

  // A second clock would ring and speak every alarm again, and each would
  // write its own arm string over the other's: it makes way before it says
  // or reads anything.
  if (!claimSingleInstance(SettingsFolder)) {
    showRunningInstance(SettingsFolder, kMainWindowCaption);
    uninitThreadApartment();
    return 0;
  }

  // Synchronous: the whole greeting is heard before the window is shown.
  TextToSpeak = kGreeting;
  SpeakText();
  // This thread never speaks again, so its voice goes at once.
  ReleaseThreadVoice();

  LoadAllAlarms();
  ReadArmFile();

  const ThreadHandle dialogThread = startThread(DialogThread, 0);
  const ThreadHandle clockThread = startThread(ClockThreadProcedure, 0);
  // Without both threads nothing could ever set QuitFlag (no window) or the
  // window would show a clock that never ticks: end the program instead.
  if (dialogThread == 0 || clockThread == 0) QuitFlag = true;

  while (!QuitFlag) sleepMs(500);

  // Neither thread is waited for: returning ends them with the process.
  closeThreadHandle(dialogThread);
  closeThreadHandle(clockThread);
  return 0;
}
