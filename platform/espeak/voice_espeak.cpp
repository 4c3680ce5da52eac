// The voice of the Linux desktop: espeak-ng makes the sound, which is played
// through the sound server (or the sound card) as it is made; the call
// returns once it has been heard. The engine is started once, by the first
// request, and lives as long as the process. The sound output is opened for
// each utterance and closed after it, so that an idle clock holds no stream
// that would keep the sound server and the sound card awake.
// espeak-ng keeps one global state and breaks when two threads synthesise at
// once, so every call into it holds one process-wide mutex.
#include <alsa/asoundlib.h>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <pcaudiolib/audio.h>

#include <mutex>

#include "platform/posix/utf8_text.h"
#include "platform/voice.h"

namespace {

enum class Engine { Untried, Ready, Missing };

std::mutex engineLock;
// Guarded by engineLock.
Engine engine = Engine::Untried;
audio_object* output = nullptr;
bool outputFailed = false;

// Called by espeak-ng with each piece of sound as it is made (wav is null at
// the end); a result of 1 stops the utterance.
int playPiece(short* wav, int samples, espeak_EVENT*) {
  if (wav == nullptr || samples <= 0) return 0;
  outputFailed = audio_object_write(output, wav, static_cast<size_t>(samples) * 2) != 0;
  return outputFailed ? 1 : 0;
}

// The sound library behind the sound output reports each failed try to stderr;
// with neither a sound server nor a sound card that is eight lines for every
// utterance, of a case that is normal here and handled by saying nothing.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Without voice data there is no voice at all. Without a sound server or a
// sound card the engine starts, and each utterance fails at once when its
// sound output cannot be opened.
bool startEngine() {
  espeak_ng_InitializePath(nullptr);
  espeak_ng_ERROR_CONTEXT context = nullptr;
  const bool started = espeak_ng_Initialize(&context) == ENS_OK &&
                       espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) == ENS_OK &&
                       espeak_ng_SetVoiceByName("en") == ENS_OK;
  espeak_ng_ClearErrorContext(&context);
  if (!started) return false;
  espeak_SetSynthCallback(playPiece);
  // Set before any sound output is opened; only calls under engineLock open one.
  snd_lib_error_set_handler(ignoreAlsaMessage);
  output = create_audio_device_object(nullptr, "Brightquill", "Brightquill's voice");
  return output != nullptr;
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
  if (audio_object_open(output, AUDIO_OBJECT_FORMAT_S16LE,
                        static_cast<uint32_t>(espeak_ng_GetSampleRate()), 1) != 0) {
    return;
  }
  // A failure changes nothing: the sound made so far has been played.
  outputFailed = false;
  espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                       nullptr, nullptr);
  if (!outputFailed) audio_object_drain(output);
  audio_object_close(output);
}

// The engine outlives every handle.
void releaseVoice(VoiceHandle) {}
