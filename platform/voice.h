#pragma once
// The system speech service. A voice belongs to the thread (COM apartment)
// that made it: only that thread speaks with it and releases it.
#include "platform/text.h"

using VoiceHandle = void*;  // nullptr: no voice

// Makes a new speech object; nullptr when the service is missing.
VoiceHandle createVoice();
// Speaks ANSI text synchronously: returns when the voice has finished.
void speakWithVoice(VoiceHandle voice, const Text& text);
void releaseVoice(VoiceHandle voice);
