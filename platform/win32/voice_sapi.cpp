// The Windows speech service: a new SAPI.SpVoice object per request, spoken
// to synchronously. The caller's thread must have COM initialised.
#include <windows.h>

#include <sapi.h>

#include "platform/voice.h"
#include "platform/win32/dialog/ansi_conversion.h"

namespace {

// ISpVoice; mingw's uuid library does not carry it.
constexpr IID kIidSpVoice = {
    0x6C44DF74, 0x72B9, 0x4992, {0xA1, 0xEC, 0xEF, 0x99, 0x6E, 0x04, 0x22, 0xD4}};

// In-process server or local server.
constexpr DWORD kClassContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;  // 5

ISpVoice* toVoice(VoiceHandle voice) { return static_cast<ISpVoice*>(voice); }

}  // namespace

VoiceHandle createVoice() {
  CLSID classId;
  if (FAILED(CLSIDFromProgID(L"SAPI.SpVoice", &classId))) return nullptr;
  void* voice = nullptr;
  if (FAILED(CoCreateInstance(classId, nullptr, kClassContext, kIidSpVoice, &voice))) {
    return nullptr;
  }
  return voice;
}

void speakWithVoice(VoiceHandle voice, const Text& text) {
  // Never a null pointer: an empty text is spoken as an empty string.
  const std::wstring wide = ansiToWide(text);
  if (voice == nullptr) return;
  ULONG streamNumber = 0;
  // Flags 0: returns when the voice has finished. A failure changes nothing.
  toVoice(voice)->Speak(wide.c_str(), 0, &streamNumber);
}

void releaseVoice(VoiceHandle voice) {
  if (voice != nullptr) toVoice(voice)->Release();
}
