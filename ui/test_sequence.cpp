#include "speech/speech.h"
#include "ui/control_ids.h"
#include "ui/window_sequences.h"

void RunTestSequence(WindowHandle window) {
  TextToSpeak = getControlText(window, IDC_SPEAK_TEXT);
  SpeakText();
}
