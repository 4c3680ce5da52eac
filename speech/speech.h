#pragma once
// Everything the program says goes through here.
#include "platform/text.h"

// What the next request on this thread says. Each thread has its own, so an
// utterance always says exactly what its caller put here.
extern thread_local Text TextToSpeak;

// Says TextToSpeak; returns when it has been spoken, or at once without a
// speech service.
void SpeakText();
// Shows TextToSpeak in the "Text to Speak" box, then says it.
void ShowAndSpeak();
