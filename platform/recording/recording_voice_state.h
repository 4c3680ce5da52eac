#pragma once
// Shared state of the recording voice, guarded by one lock. The speaking
// observer is always called with the lock released.
#include <cstdint>
#include <map>
#include <mutex>

#include "platform/recording/recording_voice.h"

namespace recording_voice {

struct VoiceState {
  std::mutex lock;
  std::map<VoiceHandle, std::thread::id> liveVoices;  // voice -> thread that made it
  std::vector<Utterance> utterances;
  std::function<void(const Text&)> observer;
  std::uintptr_t nextVoice = 0x5000;  // never reused, so a stale handle stays unknown
  bool serviceAvailable = true;
  bool foreignRelease = false;
  int invalidUses = 0;
};

// The single process-wide state; never destroyed.
VoiceState& state();

}  // namespace recording_voice
