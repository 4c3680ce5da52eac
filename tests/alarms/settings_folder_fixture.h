#pragma once
// Alarm tests run on a fresh settings folder of their own, with the alarm
// tables and window switches back at their start-up values.
#include <gtest/gtest.h>

#include <string>

#include "alarms/alarm_tables.h"
#include "alarms/window_flags.h"
#include "app/app_state.h"
#include "platform/dialog.h"
#include "platform/memory/memory_dialog.h"
#include "tests/support/temp_folder.h"
#include "ui/control_ids.h"

class SettingsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMemoryToolkit();
    SettingsFolder = folder.text();
    ClearAlarmTables();
    CurrentAlarm = 0;
    QuitFlag = false;
    MainWindow = 0;
    ArmFlags.fill(false);
    PmFlags.fill(false);
  }

  void TearDown() override {
    MainWindow = 0;
    QuitFlag = false;
    resetMemoryToolkit();
  }

  // The main window's text box and time boxes on this thread, not running:
  // enough for the operations that read and write them.
  WindowHandle openWindow() {
    const WindowHandle window = createDialog(0, "Brightquill", 0, 0, 300, 200, 0, 0);
    for (int id : {IDC_HOUR_A, IDC_MINUTE_A, IDC_HOUR_B, IDC_MINUTE_B, IDC_HOUR_C,
                   IDC_MINUTE_C, IDC_HOUR_D, IDC_MINUTE_D, IDC_HOUR_E, IDC_MINUTE_E,
                   IDC_SPEAK_TEXT}) {
      addControl(window, ControlKind::EditBox, id, "", 0, 0, 20, 10);
    }
    MainWindow = window;
    return window;
  }

  std::string fileBytes(const std::string& name) const {
    return test_files::readFileBytes(folder.file(name));
  }
  void putFile(const std::string& name, const std::string& bytes) const {
    test_files::writeFileBytes(folder.file(name), bytes);
  }
  bool fileExists(const std::string& name) const {
    return std::filesystem::exists(folder.file(name));
  }
  std::size_t fileCount() const {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      (void)entry;
      ++count;
    }
    return count;
  }

  static std::string ringFile(int alarm) { return "qhsettoring" + std::to_string(alarm) + ".txt"; }
  static std::string speakFile(int alarm) {
    return "qhsettospeak" + std::to_string(alarm) + ".txt";
  }
  static constexpr const char* kArmFile = "qhsettoarm.txt";

  test_files::TempFolder folder;
};
