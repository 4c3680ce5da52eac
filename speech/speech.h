#pragma once
// Everything the program says goes through here.
#include "platform/text.h"
#include "platform/voice.h"

// What the next request on this thread says. Each thread has its own, so an
// utterance always says exactly what its caller put here.
extern thread_local Text TextToSpeak;
// The speech object of this thread's latest request, kept until its next
// request (or ReleaseThreadVoice). A voice lives in the COM apartment of the
// thread that made it, so each thread keeps its own.
extern thread_local VoiceHandle VoiceObject;

// Says TextToSpeak; returns when it has been spoken, or at once without a
// speech service. Requests from two threads take turns: one voice speaks at
// a time.
void SpeakText();
// Shows TextToSpeak in the "Text to Speak" box, then says it.
void ShowAndSpeak();
// Releases this thread's VoiceObject; each thread that spoke calls it before
// leaving its COM apartment.
void ReleaseThreadVoice();
