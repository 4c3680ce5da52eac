#pragma once
// The test side of the recording voice: every utterance is recorded with the
// thread that spoke and the voice object it used, instead of being heard.
#include <functional>
#include <thread>
#include <vector>

#include "platform/voice.h"

struct Utterance {
  Text text;
  std::thread::id thread;
  VoiceHandle voice;
};

std::vector<Utterance> spokenUtterances();
// Voices made and not yet released, and whether any was released on another
// thread than the one that made it.
int liveVoiceCount();
bool voiceReleasedOnForeignThread();
// Speaking with or releasing a voice that was never made or is already
// released (such a voice says nothing).
int invalidVoiceUseCount();
// Makes createVoice fail, as without a speech service.
void setSpeechServiceAvailable(bool available);
// Runs inside each speakWithVoice, as if the voice took time speaking.
void setSpeakingObserver(std::function<void(const Text&)> observer);
void resetRecordingVoice();
