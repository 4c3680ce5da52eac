#include "app/app_state.h"
#include "app/startup.h"
#include "clock/clock_thread.h"
#include "platform/com.h"
#include "speech/speech.h"
#include "ui/main_window.h"

std::uint32_t DialogThread(std::uintptr_t) {
  initThreadApartment();
  ShowMainWindow();
  // The window has ended: by "Exit", by its own close command, or because it
  // could not be made. Each way the program ends, so that no clock goes on
  // ringing without a window and start-up never waits for a flag that
  // nothing could set.
  QuitFlag = true;
  ReleaseThreadVoice();
  uninitThreadApartment();
  return 0;
}

std::uint32_t ClockThreadProcedure(std::uintptr_t) {
  initThreadApartment();
  ClockThread(0);
  ReleaseThreadVoice();
  uninitThreadApartment();
  return 0;
}
