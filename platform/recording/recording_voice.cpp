// The voice interface, recording what would be said instead of saying it.
#include "platform/recording/recording_voice_state.h"

using namespace recording_voice;

VoiceHandle createVoice() {
  std::lock_guard<std::mutex> hold(state().lock);
  if (!state().serviceAvailable) return nullptr;
  VoiceHandle voice = reinterpret_cast<VoiceHandle>(state().nextVoice);
  state().nextVoice += 0x10;
  state().liveVoices[voice] = std::this_thread::get_id();
  return voice;
}

void speakWithVoice(VoiceHandle voice, const Text& text) {
  std::function<void(const Text&)> observer;
  {
    std::lock_guard<std::mutex> hold(state().lock);
    // A voice that was never made or is already released says nothing.
    if (state().liveVoices.count(voice) == 0) {
      ++state().invalidUses;
      return;
    }
    state().utterances.push_back(Utterance{text, std::this_thread::get_id(), voice});
    observer = state().observer;
  }
  // Outside the lock: the observer may block, as a long utterance does.
  if (observer) observer(text);
}

void releaseVoice(VoiceHandle voice) {
  std::lock_guard<std::mutex> hold(state().lock);
  auto found = state().liveVoices.find(voice);
  if (found == state().liveVoices.end()) {
    if (voice != nullptr) ++state().invalidUses;
    return;
  }
  if (found->second != std::this_thread::get_id()) state().foreignRelease = true;
  state().liveVoices.erase(found);
}
