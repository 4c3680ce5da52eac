#pragma once
// A speech object that records instead of speaking: registered in a test
// prefix under the ProgID "SAPI.SpVoice", it takes the place of the system
// voice so that a test can see what the program says, when and on which
// thread (see speech_log.h).
#include <windows.h>
#include <objbase.h>

// {54781364-7532-4827-8C3B-20FDDAD91BD8}
inline constexpr CLSID CLSID_RecordingVoice = {
    0x54781364, 0x7532, 0x4827, {0x8c, 0x3b, 0x20, 0xfd, 0xda, 0xd9, 0x1b, 0xd8}};

// Makes a new recording voice and asks it for the interface `iid`.
HRESULT createRecordingVoice(REFIID iid, void** result);

// Objects and server locks alive; the DLL may unload when this is 0.
LONG& liveObjectCount();
