#pragma once
// Common set-up of the speech tests.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "platform/memory/memory_dialog.h"
#include "platform/recording/recording_voice.h"
#include "speech/speech.h"
#include "tests/support/program_reset.h"

class SpeechTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetProgramForTest();
    TextToSpeak.clear();
  }
  void TearDown() override {
    ReleaseThreadVoice();
    MainWindow = 0;
    QuitFlag = false;
    resetRecordingVoice();
    resetMemoryToolkit();
    resetSimulatedClock();
  }
};
