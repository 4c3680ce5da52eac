#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "tests/speech/speech_test_support.h"
#include "ui/control_ids.h"

namespace {

WindowHandle makeSpeakBoxWindow() {
  const WindowHandle window = createDialog(0, "speech", 0, 0, 271, 193, 0, 0);
  addControl(window, ControlKind::EditBox, IDC_SPEAK_TEXT, "", 10, 145, 250, 15);
  MainWindow = window;
  return window;
}

TEST_F(SpeechTest, SpeaksTheTextAndKeepsItsVoice) {
  TextToSpeak = "hello there";
  SpeakText();
  const std::vector<Utterance> spoken = spokenUtterances();
  ASSERT_EQ(spoken.size(), 1u);
  EXPECT_EQ(spoken[0].text, "hello there");
  EXPECT_EQ(spoken[0].voice, VoiceObject);
  EXPECT_EQ(liveVoiceCount(), 1);

  ReleaseThreadVoice();
  EXPECT_EQ(VoiceObject, nullptr);
  EXPECT_EQ(liveVoiceCount(), 0);
  EXPECT_EQ(invalidVoiceUseCount(), 0);
}

TEST_F(SpeechTest, EachRequestReleasesThePreviousVoiceBeforeMakingANewOne) {
  std::vector<int> voicesAliveWhileSpeaking;
  setSpeakingObserver([&](const Text&) { voicesAliveWhileSpeaking.push_back(liveVoiceCount()); });
  TextToSpeak = "one";
  SpeakText();
  TextToSpeak = "two";
  SpeakText();
  const std::vector<Utterance> spoken = spokenUtterances();
  ASSERT_EQ(spoken.size(), 2u);
  EXPECT_NE(spoken[0].voice, spoken[1].voice);
  EXPECT_EQ(voicesAliveWhileSpeaking, (std::vector<int>{1, 1}));
  EXPECT_EQ(VoiceObject, spoken[1].voice);
}

TEST_F(SpeechTest, EmptyTextIsStillSpoken) {
  TextToSpeak = "";
  SpeakText();
  ASSERT_EQ(spokenUtterances().size(), 1u);
  EXPECT_EQ(spokenUtterances()[0].text, "");
}

TEST_F(SpeechTest, TextIsSpokenWholeWhateverItsBytes) {
  TextToSpeak = Text("caf\xE9 \0 end", 10);
  SpeakText();
  ASSERT_EQ(spokenUtterances().size(), 1u);
  EXPECT_EQ(spokenUtterances()[0].text, Text("caf\xE9 \0 end", 10));
}

TEST_F(SpeechTest, WithoutASpeechServiceNothingIsSaidAndTheNextRequestTriesAgain) {
  TextToSpeak = "first";
  SpeakText();
  setSpeechServiceAvailable(false);
  TextToSpeak = "lost";
  SpeakText();
  EXPECT_EQ(VoiceObject, nullptr);
  EXPECT_EQ(liveVoiceCount(), 0);  // the earlier voice was still given back

  setSpeechServiceAvailable(true);
  TextToSpeak = "back";
  SpeakText();
  ASSERT_EQ(spokenUtterances().size(), 2u);
  EXPECT_EQ(spokenUtterances()[1].text, "back");
}

TEST_F(SpeechTest, ShowAndSpeakFillsTheBoxThenPausesThenSpeaks) {
  const WindowHandle window = makeSpeakBoxWindow();
  Text shown;
  std::int64_t sleptBeforeSpeaking = -1;
  setSpeakingObserver([&](const Text&) {
    shown = controlState(window, IDC_SPEAK_TEXT).text;
    sleptBeforeSpeaking = totalSleptMilliseconds();
  });
  TextToSpeak = "rise and shine";
  ShowAndSpeak();
  EXPECT_EQ(shown, "rise and shine");
  EXPECT_GE(sleptBeforeSpeaking, 250);
  EXPECT_LE(sleptBeforeSpeaking, 251);  // and at most the 1 ms idle pause
  EXPECT_EQ(spokenUtterances().size(), 1u);
}

TEST_F(SpeechTest, ShowAndSpeakWithoutASpeechServiceStillShowsTheText) {
  const WindowHandle window = makeSpeakBoxWindow();
  setSpeechServiceAvailable(false);
  TextToSpeak = "silent";
  ShowAndSpeak();
  EXPECT_EQ(controlState(window, IDC_SPEAK_TEXT).text, "silent");
  EXPECT_TRUE(spokenUtterances().empty());
}

TEST_F(SpeechTest, ShowAndSpeakWithoutAWindowStillSpeaks) {
  TextToSpeak = "no window yet";
  ShowAndSpeak();
  ASSERT_EQ(spokenUtterances().size(), 1u);
  EXPECT_EQ(spokenUtterances()[0].text, "no window yet");
}

}  // namespace
