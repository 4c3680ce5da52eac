#include "platform/recording/recording_voice.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace {

class RecordingVoiceTest : public ::testing::Test {
 protected:
  void SetUp() override { resetRecordingVoice(); }
  void TearDown() override { resetRecordingVoice(); }
};

TEST_F(RecordingVoiceTest, EachVoiceIsNewAndRecordsWhatItSaysWithItsThread) {
  const VoiceHandle first = createVoice();
  const VoiceHandle second = createVoice();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(liveVoiceCount(), 2);

  speakWithVoice(first, "good morning");
  speakWithVoice(second, "");
  const std::vector<Utterance> said = spokenUtterances();
  ASSERT_EQ(said.size(), 2u);
  EXPECT_EQ(said[0].text, "good morning");
  EXPECT_EQ(said[0].voice, first);
  EXPECT_EQ(said[0].thread, std::this_thread::get_id());
  EXPECT_EQ(said[1].text, "");
  EXPECT_EQ(said[1].voice, second);

  releaseVoice(first);
  EXPECT_EQ(liveVoiceCount(), 1);
  EXPECT_NE(createVoice(), first);  // a released handle is never handed out again
  EXPECT_FALSE(voiceReleasedOnForeignThread());
}

TEST_F(RecordingVoiceTest, WithoutTheServiceNoVoiceIsMade) {
  setSpeechServiceAvailable(false);
  EXPECT_EQ(createVoice(), nullptr);
  EXPECT_EQ(liveVoiceCount(), 0);
  setSpeechServiceAvailable(true);
  EXPECT_NE(createVoice(), nullptr);
}

TEST_F(RecordingVoiceTest, UnknownOrReleasedVoicesSayNothing) {
  const VoiceHandle voice = createVoice();
  releaseVoice(voice);
  speakWithVoice(voice, "stale");
  speakWithVoice(nullptr, "none");
  releaseVoice(voice);
  releaseVoice(nullptr);  // releasing nothing is no misuse
  EXPECT_TRUE(spokenUtterances().empty());
  EXPECT_EQ(invalidVoiceUseCount(), 3);
}

TEST_F(RecordingVoiceTest, ReleaseOnAnotherThreadIsNoted) {
  const VoiceHandle voice = createVoice();
  std::thread other([voice] { releaseVoice(voice); });
  other.join();
  EXPECT_TRUE(voiceReleasedOnForeignThread());
  EXPECT_EQ(liveVoiceCount(), 0);
}

TEST_F(RecordingVoiceTest, ObserverRunsOutsideTheLockAndMayCallBack) {
  std::vector<std::size_t> countsSeen;
  setSpeakingObserver([&countsSeen](const Text& text) {
    // Would deadlock if the voice still held its lock here.
    countsSeen.push_back(spokenUtterances().size());
    if (text == "outer") {
      const VoiceHandle inner = createVoice();
      speakWithVoice(inner, "inner");
      releaseVoice(inner);
    }
  });
  const VoiceHandle voice = createVoice();
  speakWithVoice(voice, "outer");
  EXPECT_EQ(countsSeen, (std::vector<std::size_t>{1, 2}));
  ASSERT_EQ(spokenUtterances().size(), 2u);
  EXPECT_EQ(spokenUtterances()[1].text, "inner");
}

TEST_F(RecordingVoiceTest, ThreadsSpeakingAtOnceAreAllRecorded) {
  constexpr int kThreads = 3, kEach = 20;
  std::vector<std::thread> speakers;
  for (int t = 0; t < kThreads; ++t) {
    speakers.emplace_back([] {
      for (int i = 0; i < kEach; ++i) {
        const VoiceHandle voice = createVoice();
        speakWithVoice(voice, "tick");
        releaseVoice(voice);
      }
    });
  }
  for (std::thread& s : speakers) s.join();
  const std::vector<Utterance> said = spokenUtterances();
  EXPECT_EQ(said.size(), static_cast<std::size_t>(kThreads * kEach));
  std::set<VoiceHandle> voices;
  for (const Utterance& u : said) voices.insert(u.voice);
  EXPECT_EQ(voices.size(), said.size());
  EXPECT_EQ(liveVoiceCount(), 0);
  EXPECT_FALSE(voiceReleasedOnForeignThread());
}

}  // namespace
