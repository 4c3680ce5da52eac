// A silent voice for the timed build: each utterance is logged as
// "speak START_MS TEXT" and takes BQ_SPEAK_MS milliseconds (300 when unset),
// like the recording voice of the Wine scenarios.
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/voice.h"
#include "timing_log.h"

namespace {

int speakingTimeMs() {
  const char* value = std::getenv("BQ_SPEAK_MS");
  return value != nullptr ? std::atoi(value) : 300;
}

int voiceObject;  // every voice is this one: it holds no state

}  // namespace

VoiceHandle createVoice() { return &voiceObject; }

void speakWithVoice(VoiceHandle voice, const Text& text) {
  if (voice == nullptr) return;
  const double start = timingNowMs();
  std::this_thread::sleep_for(std::chrono::milliseconds(speakingTimeMs()));
  appendTimingLine("speak", start, text);
}

void releaseVoice(VoiceHandle) {}
