// The recording voice's state and what tests can read of it.
#include "platform/recording/recording_voice_state.h"

namespace recording_voice {

VoiceState& state() {
  static VoiceState* const instance = new VoiceState;
  return *instance;
}

}  // namespace recording_voice

using namespace recording_voice;

std::vector<Utterance> spokenUtterances() {
  std::lock_guard<std::mutex> hold(state().lock);
  return state().utterances;
}

int liveVoiceCount() {
  std::lock_guard<std::mutex> hold(state().lock);
  return static_cast<int>(state().liveVoices.size());
}

bool voiceReleasedOnForeignThread() {
  std::lock_guard<std::mutex> hold(state().lock);
  return state().foreignRelease;
}

int invalidVoiceUseCount() {
  std::lock_guard<std::mutex> hold(state().lock);
  return state().invalidUses;
}

void setSpeechServiceAvailable(bool available) {
  std::lock_guard<std::mutex> hold(state().lock);
  state().serviceAvailable = available;
}

void setSpeakingObserver(std::function<void(const Text&)> observer) {
  std::lock_guard<std::mutex> hold(state().lock);
  state().observer = std::move(observer);
}

void resetRecordingVoice() {
  std::lock_guard<std::mutex> hold(state().lock);
  VoiceState& s = state();
  s.liveVoices.clear();
  s.utterances.clear();
  s.observer = nullptr;
  s.serviceAvailable = true;
  s.foreignRelease = false;
  s.invalidUses = 0;
}
