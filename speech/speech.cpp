#include "speech/speech.h"

#include <mutex>

#include "app/app_state.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "ui/control_ids.h"

thread_local Text TextToSpeak;
thread_local VoiceHandle VoiceObject = nullptr;

namespace {

// Held for one request's voice work only: never while a window is asked for
// something or while pausing, so a thread waiting here never blocks the
// dialog thread that another thread is waiting for.
std::mutex speechLock;

void releaseThreadVoiceObject() {
  if (VoiceObject == nullptr) return;
  releaseVoice(VoiceObject);
  VoiceObject = nullptr;
}

}  // namespace

void SpeakText() {
  std::lock_guard<std::mutex> hold(speechLock);
  // Each request makes a fresh object, after giving back the previous one.
  releaseThreadVoiceObject();
  VoiceObject = createVoice();
  if (VoiceObject == nullptr) return;
  // An empty text is still spoken, as an empty string.
  speakWithVoice(VoiceObject, TextToSpeak);
}

void ShowAndSpeak() {
  const WindowHandle window = MainWindow.load();
  // Waits while the dialog thread is busy; no lock is held here.
  if (window != 0) setControlText(window, IDC_SPEAK_TEXT, TextToSpeak);
  pumpOneMessage(1);
  sleepMs(250);
  SpeakText();
}

void ReleaseThreadVoice() { releaseThreadVoiceObject(); }
