// The Windows speech service as the program reaches it. Wine's own voice
// accepts the object and interface and returns from Speak at once.
#include "platform/voice.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <thread>

#include "platform/com.h"

namespace {

TEST(SapiVoice, IsMadeForTheInterfaceAndSpeaksEmptyAndAnsiText) {
  initThreadApartment();
  VoiceHandle voice = createVoice();
  ASSERT_NE(voice, nullptr) << "SAPI.SpVoice with ISpVoice could not be made";
  speakWithVoice(voice, "");
  speakWithVoice(voice, "Wake up caf\xE9");
  // A second object while the first is held: each request makes its own.
  VoiceHandle second = createVoice();
  EXPECT_NE(second, nullptr);
  EXPECT_NE(second, voice);
  releaseVoice(voice);
  releaseVoice(second);
  uninitThreadApartment();
}

TEST(SapiVoice, WithoutComOnTheThreadThereIsNoVoiceAndSpeakingIsSilent) {
  VoiceHandle voice = reinterpret_cast<VoiceHandle>(1);
  std::thread bare([&] {
    voice = createVoice();
    speakWithVoice(voice, "nothing");
    releaseVoice(voice);
  });
  bare.join();
  EXPECT_EQ(voice, nullptr);
}

}  // namespace
