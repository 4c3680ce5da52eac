#include "alarms/alarm_editing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "alarms/alarm_files.h"
#include "platform/folder.h"
#include "tests/alarms/settings_folder_fixture.h"

namespace {

class AlarmEditingTest : public SettingsFolderTest {
 protected:
  void SetUp() override {
    SettingsFolderTest::SetUp();
    window = openWindow();
  }

  void typeTime(int hourBox, const Text& hour, int minuteBox, const Text& minute) {
    setControlText(window, hourBox, hour);
    setControlText(window, minuteBox, minute);
  }
  Text box() const { return getControlText(window, IDC_SPEAK_TEXT); }

  WindowHandle window = 0;
};

std::string ringBytes(int hour, int minute) {
  return {static_cast<char>(hour + 1), static_cast<char>(minute + 1)};
}

TEST_F(AlarmEditingTest, EveryEntryBecomesItsHourOfTheDay) {
  struct Case {
    Text typed;
    bool pm;
    int stored;
  };
  const Case cases[] = {
      {"12", false, 0},   {"1", false, 1},    {"7", false, 7},     {"11", false, 11},
      {"12", true, 12},   {"1", true, 13},    {"7", true, 19},     {"11", true, 23},
      {"0", false, 0},    {"0", true, 12},    {"13", false, 0},    {"13", true, 12},
      {"", false, 0},     {"", true, 12},     {"abc", false, 0},   {"abc", true, 12},
      {"-3", false, 0},   {"-3", true, 12},   {"  7", true, 19},   {"7abc", false, 7},
      {"&HC", false, 0},  {"&HC", true, 12},  {"0.5", false, 0},   {"12.4", true, 12},
      {"6.5", false, 6},  {"7.5", true, 20},  // fractions count for the checks, then round
      {"11.5", true, 0},  {"11.99", true, 0},  // 11:30 p.m. and later round to midnight
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed + (c.pm ? " p.m." : " a.m."));
    PmFlags[2] = c.pm;
    typeTime(IDC_HOUR_B, c.typed, IDC_MINUTE_B, "5");
    SetAlarm(2);
    EXPECT_EQ(AlarmTimeOf(2).hour, c.stored);
    EXPECT_EQ(AlarmTimeOf(2).minute, 5);
    EXPECT_EQ(fileBytes(ringFile(2)), ringBytes(c.stored, 5));
    EXPECT_EQ(getControlText(window, IDC_HOUR_B), c.typed);  // the box keeps the entry
  }
}

TEST_F(AlarmEditingTest, MinutesOutsideTheHourBecomeZero) {
  struct Case {
    Text typed;
    int stored;
  };
  const Case cases[] = {{"5", 5},   {"0", 0},     {"59", 59},   {"60", 0},   {"-5", 0},
                        {"", 0},    {"x", 0},     {"30.5", 30}, {"59.4", 0}, {"7e1", 0},
                        {" 45", 45}, {"45min", 45}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    typeTime(IDC_HOUR_D, "7", IDC_MINUTE_D, c.typed);
    SetAlarm(4);
    EXPECT_EQ(AlarmTimeOf(4).hour, 7);
    EXPECT_EQ(AlarmTimeOf(4).minute, c.stored);
    EXPECT_EQ(fileBytes(ringFile(4)), ringBytes(7, c.stored));
    EXPECT_EQ(getControlText(window, IDC_MINUTE_D), c.typed);
  }
}

TEST_F(AlarmEditingTest, EachSetReadsItsOwnRowAndLoadsItsTextIntoTheBox) {
  const int hourBoxes[] = {IDC_HOUR_A, IDC_HOUR_B, IDC_HOUR_C, IDC_HOUR_D, IDC_HOUR_E};
  const int minuteBoxes[] = {IDC_MINUTE_A, IDC_MINUTE_B, IDC_MINUTE_C, IDC_MINUTE_D,
                             IDC_MINUTE_E};
  for (int alarm = 1; alarm <= 5; ++alarm) {
    typeTime(hourBoxes[alarm - 1], std::to_string(alarm), minuteBoxes[alarm - 1],
             std::to_string(10 + alarm));
  }
  putFile(speakFile(3), "Meeting. old");
  PmFlags[4] = true;
  const Text expectedBox[] = {"alarm 1 active.", "alarm 2 active.", "Meeting.",
                              "alarm 4 active.", "alarm 4 active."};
  for (int alarm = 1; alarm <= 5; ++alarm) {
    SCOPED_TRACE(alarm);
    SetAlarm(alarm);
    EXPECT_EQ(CurrentAlarm, alarm);
    EXPECT_EQ(AlarmTimeOf(alarm).hour, alarm == 4 ? 16 : alarm);
    EXPECT_EQ(AlarmTimeOf(alarm).minute, 10 + alarm);
    // "set" for E leaves the box as it was.
    EXPECT_EQ(box(), expectedBox[alarm - 1]);
  }
  EXPECT_FALSE(fileExists(speakFile(5)));
  // Loading a text into the box stores nothing.
  EXPECT_EQ(AlarmTextOf(3), "");
  EXPECT_EQ(fileBytes(speakFile(3)), "Meeting. old");
}

TEST_F(AlarmEditingTest, PmAloneChangesNothingStored) {
  typeTime(IDC_HOUR_C, "7", IDC_MINUTE_C, "30");
  SetAlarm(3);
  TogglePm(3);
  EXPECT_TRUE(PmFlags[3]);
  EXPECT_EQ(AlarmTimeOf(3).hour, 7);
  EXPECT_EQ(fileBytes(ringFile(3)), ringBytes(7, 30));
  SetAlarm(3);
  EXPECT_EQ(AlarmTimeOf(3).hour, 19);
  EXPECT_EQ(fileBytes(ringFile(3)), ringBytes(19, 30));
  TogglePm(3);
  EXPECT_FALSE(PmFlags[3]);
  EXPECT_EQ(AlarmTimeOf(3).hour, 19);
  for (int alarm = 1; alarm <= 5; ++alarm) EXPECT_FALSE(ArmFlags[alarm]);
}

TEST_F(AlarmEditingTest, ArmBoxesFlipTheirOwnCharacterAndRewriteTheArmFile) {
  ReadArmFile();  // first run: no arm file, nothing armed
  ToggleArm(1);
  EXPECT_EQ(ArmStringNow(), "A    ");
  ToggleArm(3);
  EXPECT_EQ(ArmStringNow(), "A A  ");
  EXPECT_EQ(fileBytes(kArmFile), std::string("\x41\x20\x41\x20\x20\x20"));
  EXPECT_TRUE(ArmFlags[1]);
  EXPECT_TRUE(ArmFlags[3]);

  ToggleArm(5);
  ToggleArm(5);
  EXPECT_EQ(ArmStringNow(), "A A  ");
  EXPECT_EQ(fileBytes(kArmFile), "A A   ");
  ToggleArm(1);
  EXPECT_EQ(ArmStringNow(), "  A  ");
  EXPECT_EQ(fileBytes(kArmFile), "  A   ");
  // No alarm is current, so no text was stored.
  for (int alarm = 1; alarm <= 4; ++alarm) EXPECT_FALSE(fileExists(speakFile(alarm)));
}

TEST_F(AlarmEditingTest, ArmBoxesKeepOtherCharactersOfTheArmFile) {
  putFile(kArmFile, "xA?A ");
  ReadArmFile();
  ToggleArm(1);  // "x" counts as disarmed, so the first click arms
  EXPECT_EQ(ArmStringNow(), "AA?A ");
  EXPECT_EQ(fileBytes(kArmFile), "AA?A  ");
}

TEST_F(AlarmEditingTest, AnArmClickAlsoStoresTheBoxForTheCurrentAlarm) {
  SetAlarm(1);
  setControlText(window, IDC_SPEAK_TEXT, "Good morning");
  ToggleArm(3);
  EXPECT_EQ(fileBytes(speakFile(1)), "Good morning.");
  EXPECT_EQ(AlarmTextOf(1), "Good morning.");
  EXPECT_EQ(box(), "Good morning");
  EXPECT_FALSE(fileExists(speakFile(3)));

  SetAlarm(5);
  setControlText(window, IDC_SPEAK_TEXT, "Other");
  ToggleArm(3);
  EXPECT_EQ(AlarmTextOf(5), "");
  EXPECT_FALSE(fileExists(speakFile(5)));
  EXPECT_EQ(fileBytes(speakFile(1)), "Good morning.");
}

TEST_F(AlarmEditingTest, UpdateStoresTheBoxOnlyForAnAlarmWithATextFile) {
  setControlText(window, IDC_SPEAK_TEXT, "Too early");
  SaveAlarmText();  // before any "set"
  EXPECT_EQ(fileCount(), 0u);

  SetAlarm(5);
  setControlText(window, IDC_SPEAK_TEXT, "For E");
  SaveAlarmText();
  EXPECT_FALSE(fileExists(speakFile(5)));
  EXPECT_EQ(AlarmTextOf(5), "");

  SetAlarm(1);
  EXPECT_EQ(box(), "alarm 1 active.");
  setControlText(window, IDC_SPEAK_TEXT, "Good morning");
  SaveAlarmText();
  EXPECT_EQ(fileBytes(speakFile(1)), "Good morning.");
  EXPECT_EQ(AlarmTextOf(1), "Good morning.");
  EXPECT_EQ(box(), "Good morning");
  SetAlarm(1);
  EXPECT_EQ(box(), "Good morning.");
}

TEST_F(AlarmEditingTest, WithoutASettingsFolderEveryEditWorksInMemory) {
  SettingsFolder = folder.text() + "\\missing\\quillhaven";
  makeFolder(SettingsFolder);  // its parent is missing, so this fails
  LoadAllAlarms();
  ReadArmFile();
  EXPECT_EQ(AlarmTextOf(2), "alarm 2 active.");
  EXPECT_EQ(ArmStringNow(), "     ");

  PmFlags[2] = true;
  typeTime(IDC_HOUR_B, "7", IDC_MINUTE_B, "5");
  SetAlarm(2);
  EXPECT_EQ(box(), "alarm 2 active.");
  setControlText(window, IDC_SPEAK_TEXT, "Wake up");
  SaveAlarmText();
  ToggleArm(2);

  EXPECT_EQ(AlarmTimeOf(2).hour, 19);
  EXPECT_EQ(AlarmTimeOf(2).minute, 5);
  EXPECT_EQ(AlarmTextOf(2), "Wake up.");
  EXPECT_EQ(ArmStringNow(), " A   ");
  EXPECT_EQ(fileCount(), 0u);
}

// The clock thread reads the tables while the dialog thread edits them: it
// must never see an hour from one "set" with the minute of another, nor a
// partly replaced arm string or text.
TEST_F(AlarmEditingTest, TheClockNeverSeesHalfAnEdit) {
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::thread clock([&] {
    while (!done) {
      const AlarmSchedule schedule = AlarmScheduleNow();
      const AlarmTime a = schedule.times[1];
      if (a.hour != a.minute) ++torn;
      if (schedule.armString != "     " && schedule.armString != "A    ") ++torn;
      const Text text = AlarmTextOf(1);
      if (!text.empty() && text != "alarm 1 active." && text != std::string(300, 'x') + ".") {
        ++torn;
      }
    }
  });
  setControlText(window, IDC_SPEAK_TEXT, std::string(300, 'x'));
  for (int round = 0; round < 100; ++round) {
    // 7:07 in the morning, then 19:19.
    PmFlags[1] = round % 2 == 1;
    typeTime(IDC_HOUR_A, "7", IDC_MINUTE_A, round % 2 == 1 ? "19" : "7");
    SetAlarm(1);
    setControlText(window, IDC_SPEAK_TEXT, std::string(300, 'x'));
    ToggleArm(1);
  }
  done = true;
  clock.join();
  EXPECT_EQ(torn.load(), 0);
  EXPECT_EQ(AlarmTimeOf(1).hour, 19);
}

}  // namespace
