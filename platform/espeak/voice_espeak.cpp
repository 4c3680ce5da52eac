// The voice of the Linux desktop: espeak-ng, playing each utterance through
// the sound server and returning once it has been heard. The engine is
// started once, by the first request, and lives as long as the process.
// espeak-ng keeps one global state and breaks when two threads synthesise
// at once, so every call into it holds one process-wide mutex.
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <mutex>

#include "platform/gtk/utf8_text.h"
#include "platform/voice.h"

namespace {

enum class Engine { Untried, Ready, Missing };

std::mutex engineLock;
Engine engine = Engine::Untried;  // guarded by engineLock

// Without voice data there is no voice at all. Without a sound device the
// engine starts, and each utterance fails at once when it is played.
bool startEngine() {
  espeak_ng_InitializePath(nullptr);
  espeak_ng_ERROR_CONTEXT context = nullptr;
  const bool started =
      espeak_ng_Initialize(&context) == ENS_OK &&
      espeak_ng_InitializeOutput(static_cast<espeak_ng_OUTPUT_MODE>(ENOUTPUT_MODE_SYNCHRONOUS |
                                                                    ENOUTPUT_MODE_SPEAK_AUDIO),
                                 0, nullptr) == ENS_OK &&
      espeak_ng_SetVoiceByName("en") == ENS_OK;
  espeak_ng_ClearErrorContext(&context);
  return started;
}

// With engineLock held.
bool engineReady() {
  if (engine == Engine::Untried) engine = startEngine() ? Engine::Ready : Engine::Missing;
  return engine == Engine::Ready;
}

}  // namespace

VoiceHandle createVoice() {
  std::lock_guard<std::mutex> hold(engineLock);
  // Every voice is the one engine; the handle only says that it exists.
  return engineReady() ? &engine : nullptr;
}

void speakWithVoice(VoiceHandle voice, const Text& text) {
  // Spoken up to its first zero byte, as a zero-terminated string would be.
  const std::string utf8 = ansiToUtf8(text);
  if (voice == nullptr) return;
  std::lock_guard<std::mutex> hold(engineLock);
  if (!engineReady()) return;
  // Synchronous playback: returns when the sound has been played, or at
  // once when it cannot be. A failure changes nothing.
  espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                       nullptr, nullptr);
}

// The engine outlives every handle.
void releaseVoice(VoiceHandle) {}
