#include "alarms/alarm_files.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/data_file.h"
#include "tests/alarms/settings_folder_fixture.h"

namespace {

using AlarmFilesTest = SettingsFolderTest;

std::string bytes(std::initializer_list<unsigned char> values) {
  return std::string(values.begin(), values.end());
}

TEST_F(AlarmFilesTest, FirstRunCreatesTheTenFilesEmptyAndGivesTheDefaults) {
  CurrentAlarm = 3;
  LoadAllAlarms();
  ReadArmFile();

  for (int alarm = 1; alarm <= 5; ++alarm) {
    SCOPED_TRACE(alarm);
    EXPECT_EQ(AlarmTimeOf(alarm).hour, 0);
    EXPECT_EQ(AlarmTimeOf(alarm).minute, 0);
    ASSERT_TRUE(fileExists(ringFile(alarm)));
    EXPECT_EQ(fileBytes(ringFile(alarm)), "");
  }
  for (int alarm = 1; alarm <= 4; ++alarm) {
    ASSERT_TRUE(fileExists(speakFile(alarm)));
    EXPECT_EQ(fileBytes(speakFile(alarm)), "");
  }
  EXPECT_EQ(AlarmTextOf(1), "alarm 1 active.");
  EXPECT_EQ(AlarmTextOf(2), "alarm 2 active.");
  EXPECT_EQ(AlarmTextOf(3), "alarm 3 active.");
  EXPECT_EQ(AlarmTextOf(4), "alarm 4 active.");
  EXPECT_EQ(AlarmTextOf(5), "");
  EXPECT_EQ(ArmStringNow(), "     ");
  EXPECT_EQ(fileBytes(kArmFile), "");
  EXPECT_EQ(CurrentAlarm, 0);
  EXPECT_FALSE(fileExists(speakFile(5)));
  EXPECT_EQ(fileCount(), 10u);
}

TEST_F(AlarmFilesTest, RingFilesLoadAsHourAndMinutePlusOne) {
  struct Case {
    std::string file;
    int hour;
    int minute;
  };
  const Case cases[] = {
      {bytes({0x01, 0x01}), 0, 0},
      {bytes({0x18, 0x3C}), 23, 59},
      {bytes({0x0D}), 12, 12},  // one byte gives both
      {bytes({0x14, 0x06, 0xFF, 0x41}), 19, 5},  // older tail never read
      {"", 0, 0},
      {bytes({0x00, 0x05}), 0, 0},  // a negative hour zeroes both
      {bytes({0x05, 0x00}), 0, 0},  // a negative minute zeroes both
      {bytes({0xC9, 0xC9}), 200, 200},  // no upper check
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.file));
    putFile(ringFile(4), c.file);
    const AlarmTime time = ReadRingFile(4);
    EXPECT_EQ(time.hour, c.hour);
    EXPECT_EQ(time.minute, c.minute);
  }
}

TEST_F(AlarmFilesTest, LoadingTakesEveryAlarmFromItsOwnFiles) {
  putFile(ringFile(1), bytes({0x08, 0x1F}));
  putFile(ringFile(3), bytes({0x14, 0x06}));
  putFile(ringFile(5), bytes({0x0D, 0x01}));
  putFile(speakFile(2), "Good morning. Old tail");
  putFile(speakFile(3), "hello");
  putFile(kArmFile, "A A  ");
  LoadAllAlarms();
  ReadArmFile();

  const int hours[] = {7, 0, 19, 0, 12};
  const int minutes[] = {30, 0, 5, 0, 0};
  for (int alarm = 1; alarm <= 5; ++alarm) {
    SCOPED_TRACE(alarm);
    EXPECT_EQ(AlarmTimeOf(alarm).hour, hours[alarm - 1]);
    EXPECT_EQ(AlarmTimeOf(alarm).minute, minutes[alarm - 1]);
  }
  EXPECT_EQ(AlarmTextOf(1), "alarm 1 active.");
  EXPECT_EQ(AlarmTextOf(2), "Good morning.");
  EXPECT_EQ(AlarmTextOf(3), "alarm 3 active.");
  EXPECT_EQ(AlarmTextOf(5), "");
  EXPECT_EQ(ArmStringNow(), "A A  ");
  // Loading reads only: nothing is written back.
  EXPECT_EQ(fileBytes(speakFile(2)), "Good morning. Old tail");
  EXPECT_EQ(fileBytes(speakFile(3)), "hello");
}

TEST_F(AlarmFilesTest, SpeakFilesAreCutAfterTheirFirstPeriod) {
  struct Case {
    int alarm;
    std::string file;
    std::string text;
  };
  const Case cases[] = {
      {1, "Good morning. Old tail", "Good morning."},
      {3, "hello", "alarm 3 active."},
      {2, "", "alarm 2 active."},
      {4, ".", "."},
      {1, "Wake up. the meeting now.", "Wake up."},
      {2, std::string("a\0b. c", 6), std::string("a\0b.", 4)},
      {3, std::string(4095, 'x') + ".", std::string(4095, 'x') + "."},
      {4, std::string(4096, 'x') + ".", "alarm 4 active."},  // period beyond the 4096 read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.substr(0, 30));
    putFile(speakFile(c.alarm), c.file);
    EXPECT_EQ(ReadSpeakFile(c.alarm), c.text);
    EXPECT_EQ(fileBytes(speakFile(c.alarm)), c.file);
  }
}

TEST_F(AlarmFilesTest, ReadSpeakFileShowsTheTextOnlyOnceTheWindowExists) {
  putFile(speakFile(2), "Rise.");
  EXPECT_EQ(ReadSpeakFile(2), "Rise.");  // no window yet: nothing to show it in

  const WindowHandle window = openWindow();
  setControlText(window, IDC_SPEAK_TEXT, "typed");
  EXPECT_EQ(ReadSpeakFile(2), "Rise.");
  EXPECT_EQ(getControlText(window, IDC_SPEAK_TEXT), "Rise.");

  for (int alarm : {0, 5, 6, -1}) {
    SCOPED_TRACE(alarm);
    setControlText(window, IDC_SPEAK_TEXT, "typed");
    EXPECT_EQ(ReadSpeakFile(alarm), "");
    EXPECT_EQ(getControlText(window, IDC_SPEAK_TEXT), "typed");
  }
  EXPECT_EQ(fileCount(), 1u);
}

TEST_F(AlarmFilesTest, WriteSpeakFileCompletesTheBoxWithAPeriodOverTheOldBytes) {
  struct Case {
    std::string box;
    std::string before;
    std::string file;    // after the write
    std::string stored;  // AlarmTexts
    std::string readBack;
  };
  const Case cases[] = {
      {"Wake up", "Time for the meeting now.", "Wake up. the meeting now.", "Wake up.",
       "Wake up."},
      {"", "", ".", ".", "."},
      {"", "Old text.", ".ld text.", ".", "."},
      {"Done.", "", "Done.", "Done.", "Done."},
      {"Hi. Bye", "", "Hi. Bye.", "Hi. Bye.", "Hi."},  // the whole text is kept in memory
      {"caf\xE9", "", "caf\xE9.", "caf\xE9.", "caf\xE9."},
  };
  const WindowHandle window = openWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box + " over " + c.before);
    putFile(speakFile(3), c.before);
    setControlText(window, IDC_SPEAK_TEXT, c.box);
    WriteSpeakFile(3);
    EXPECT_EQ(fileBytes(speakFile(3)), c.file);
    EXPECT_EQ(AlarmTextOf(3), c.stored);
    EXPECT_EQ(getControlText(window, IDC_SPEAK_TEXT), c.box);
    EXPECT_EQ(ReadSpeakFile(3), c.readBack);
  }
}

TEST_F(AlarmFilesTest, AlarmEAndOtherNumbersNeverGetATextFile) {
  const WindowHandle window = openWindow();
  setControlText(window, IDC_SPEAK_TEXT, "saying");
  StoreAlarmText(5, "Be kind.");
  for (int alarm : {5, 0, 6}) {
    WriteSpeakFile(alarm);
    ReadSpeakFile(alarm);
  }
  EXPECT_EQ(AlarmTextOf(5), "Be kind.");
  EXPECT_EQ(fileCount(), 0u);
}

TEST_F(AlarmFilesTest, WriteRingFileWritesTwoBytesAndThenTheTable) {
  putFile(ringFile(2), "abcdef");
  WriteRingFile(2, 19, 5);
  EXPECT_EQ(fileBytes(ringFile(2)), bytes({0x14, 0x06}) + "cdef");
  EXPECT_EQ(AlarmTimeOf(2).hour, 19);
  EXPECT_EQ(AlarmTimeOf(2).minute, 5);

  WriteRingFile(3, 0, 0);
  EXPECT_EQ(fileBytes(ringFile(3)), bytes({0x01, 0x01}));
  WriteRingFile(3, 23, 59);
  EXPECT_EQ(fileBytes(ringFile(3)), bytes({0x18, 0x3C}));
  EXPECT_EQ(ReadRingFile(3).hour, 23);
  EXPECT_EQ(ReadRingFile(3).minute, 59);
}

TEST_F(AlarmFilesTest, TypedFractionsAreRoundedOnceSoFileAndTableAgree) {
  struct Case {
    Number hour, minute;
    int storedHour, storedMinute;
  };
  const Case cases[] = {
      {19.5L, 30.5L, 20, 30},  // halves go to the even neighbour
      {6.5L, 0.4L, 6, 0},
      {7.6L, 58.5L, 8, 58},
  };
  for (const Case& c : cases) {
    WriteRingFile(1, c.hour, c.minute);
    EXPECT_EQ(AlarmTimeOf(1).hour, c.storedHour);
    EXPECT_EQ(AlarmTimeOf(1).minute, c.storedMinute);
    EXPECT_EQ(fileBytes(ringFile(1)),
              bytes({static_cast<unsigned char>(c.storedHour + 1),
                     static_cast<unsigned char>(c.storedMinute + 1)}));
  }
}

TEST_F(AlarmFilesTest, NothingIsWrittenOnceQuitFlagIsSetOrForOtherNumbers) {
  WriteRingFile(0, 7, 30);
  WriteRingFile(6, 7, 30);
  QuitFlag = true;
  WriteRingFile(1, 7, 30);
  EXPECT_EQ(fileCount(), 0u);
  EXPECT_EQ(AlarmTimeOf(1).hour, 0);
  EXPECT_EQ(AlarmTimeOf(1).minute, 0);
}

TEST_F(AlarmFilesTest, ArmFileHoldsTheFiveCharactersAndABlank) {
  StoreArmString("A A  ");
  putFile(kArmFile, "XXXXXXXXX");
  WriteArmFile();
  EXPECT_EQ(fileBytes(kArmFile), bytes({0x41, 0x20, 0x41, 0x20, 0x20, 0x20}) + "XXX");

  StoreArmString("AA");  // too short: nothing is armed
  WriteArmFile();
  EXPECT_EQ(ArmStringNow(), "     ");
  EXPECT_EQ(fileBytes(kArmFile), "      XXX");
}

TEST_F(AlarmFilesTest, ArmFilesShorterThanFiveBytesArmNothing) {
  struct Case {
    std::string file;
    std::string armString;
  };
  const Case cases[] = {
      {"A", "     "},         {"", "     "},           {"AAAA", "     "},
      {"A A  ", "A A  "},     {"AAAAA extra", "AAAAA"}, {std::string("xA\0A ", 5), std::string("xA\0A ", 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.file));
    putFile(kArmFile, c.file);
    ReadArmFile();
    EXPECT_EQ(ArmStringNow(), c.armString);
  }
}

TEST_F(AlarmFilesTest, AReadOnlyFileIsReadNormallyAndNotWritten) {
  putFile(ringFile(1), bytes({0x08, 0x1F}));
  putFile(speakFile(1), "Stay.");
  putFile(kArmFile, "  A  ");
  for (const std::string& name : {ringFile(1), speakFile(1), std::string(kArmFile)}) {
    if (!test_files::makeReadOnly(folder.file(name))) {
      GTEST_SKIP() << "this user can write a read-only file here";
    }
  }
  LoadAllAlarms();
  ReadArmFile();
  EXPECT_EQ(AlarmTimeOf(1).hour, 7);
  EXPECT_EQ(AlarmTimeOf(1).minute, 30);
  EXPECT_EQ(AlarmTextOf(1), "Stay.");
  EXPECT_EQ(ArmStringNow(), "  A  ");

  const WindowHandle window = openWindow();
  setControlText(window, IDC_SPEAK_TEXT, "Go");
  WriteRingFile(1, 9, 0);
  WriteSpeakFile(1);
  StoreArmString("A A  ");
  WriteArmFile();
  // The tables take the change; the files keep their bytes.
  EXPECT_EQ(AlarmTimeOf(1).hour, 9);
  EXPECT_EQ(AlarmTextOf(1), "Go.");
  EXPECT_EQ(fileBytes(ringFile(1)), bytes({0x08, 0x1F}));
  EXPECT_EQ(fileBytes(speakFile(1)), "Stay.");
  EXPECT_EQ(fileBytes(kArmFile), "  A  ");
}

TEST_F(AlarmFilesTest, AFileHeldOpenElsewhereGivesDefaultsAndTakesNoWrite) {
  putFile(ringFile(2), bytes({0x14, 0x06}));
  DataFile holder = openDataFile(SettingsFolder + "\\" + ringFile(2));
  ASSERT_NE(holder.handle, -1);
  EXPECT_EQ(ReadRingFile(2).hour, 0);
  WriteRingFile(2, 8, 15);
  closeDataFile(holder);
  EXPECT_EQ(AlarmTimeOf(2).hour, 8);
  EXPECT_EQ(AlarmTimeOf(2).minute, 15);
  EXPECT_EQ(fileBytes(ringFile(2)), bytes({0x14, 0x06}));
}

}  // namespace
