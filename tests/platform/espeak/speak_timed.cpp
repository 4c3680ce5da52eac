// Speaks its argument with the espeak-ng voice, on one thread or on two at
// once, and prints for each call whether there was a voice and how long the
// call took: "voice 1 ms 2410".
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/voice.h"

namespace {

void speakTimed(const Text& text) {
  const auto start = std::chrono::steady_clock::now();
  VoiceHandle voice = createVoice();
  speakWithVoice(voice, text);
  releaseVoice(voice);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  std::printf("voice %d ms %lld\n", voice != nullptr, static_cast<long long>(took.count()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const Text text = argv[argc - 1];
  if (argc > 2 && std::strcmp(argv[1], "--two-threads") == 0) {
    std::thread other(speakTimed, text);
    speakTimed(text);
    other.join();
  } else {
    speakTimed(text);
  }
  return 0;
}
