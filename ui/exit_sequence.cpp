#include "app/app_state.h"
#include "platform/clock.h"
#include "speech/speech.h"
#include "ui/window_sequences.h"

namespace {
const Text kFarewell =
    "good bye, please use Brightquill software again soon.  "
    "See you later my brothers and sisters.";
constexpr std::uint32_t kFarewellPauseMs = 3000;
}  // namespace

void RunExitSequence(WindowHandle window) {
  TextToSpeak = kFarewell;
  SpeakText();
  pumpOneMessage(1);
  // The window stays up a moment after the farewell before it goes.
  sleepMs(kFarewellPauseMs);
  QuitFlag = true;
  endDialog(window, 0);
}
