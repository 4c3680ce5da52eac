#include "alarms/alarm_files.h"

#include "app/app_state.h"
#include "platform/data_file.h"
#include "platform/dialog.h"
#include "platform/last_error.h"
#include "ui/control_ids.h"

namespace {

constexpr int kTextAlarmCount = 4;  // alarm E keeps its text in memory only
constexpr std::int64_t kArmBytes = 5;
constexpr std::int64_t kRingBytes = 2;
constexpr std::int64_t kSpeakBytes = 4096;
const Text kNoAlarmArmed = "     ";

Text alarmDigit(int alarm) { return trimLeft(numberToText(alarm)); }

Text armFileName() { return SettingsFolder + "\\qhsettoarm.txt"; }
Text ringFileName(int alarm) { return SettingsFolder + "\\qhsettoring" + alarmDigit(alarm) + ".txt"; }
Text speakFileName(int alarm) {
  return SettingsFolder + "\\qhsettospeak" + alarmDigit(alarm) + ".txt";
}

// Each settings file is opened, read or written once from its first byte,
// and closed again. Failures leave the result empty or the file unchanged.
Text readSettingsFile(const Text& name, std::int64_t count) {
  DataFile file = openDataFile(name);
  Text bytes = readBytes(file, count);
  closeDataFile(file);
  return bytes;
}

void writeSettingsFile(const Text& name, const Text& bytes) {
  DataFile file = openDataFile(name);
  writeBytes(file, bytes);
  closeDataFile(file);
}

bool validAlarm(int alarm) { return alarm >= 1 && alarm <= kAlarmCount; }
bool hasTextFile(int alarm) { return alarm >= 1 && alarm <= kTextAlarmCount; }

}  // namespace

void LoadAllAlarms() {
  for (int alarm = 1; alarm <= kAlarmCount; ++alarm) {
    const AlarmTime time = ReadRingFile(alarm);
    Text text;
    if (hasTextFile(alarm)) text = ReadSpeakFile(alarm);
    StoreAlarmTime(alarm, time);
    if (hasTextFile(alarm)) StoreAlarmText(alarm, text);
  }
  CurrentAlarm = 0;
}

void ReadArmFile() {
  clearLastError();
  const Text bytes = readSettingsFile(armFileName(), kArmBytes);
  StoreArmString(textLength(bytes) == kArmBytes ? bytes : kNoAlarmArmed);
}

void WriteArmFile() {
  clearLastError();
  Text armString = ArmStringNow();
  if (textLength(armString) < kArmBytes) {
    armString = kNoAlarmArmed;
    StoreArmString(armString);
  }
  writeSettingsFile(armFileName(), armString + " ");
}

AlarmTime ReadRingFile(int alarm) {
  if (!validAlarm(alarm)) return {};
  clearLastError();
  const Text bytes = readSettingsFile(ringFileName(alarm), kRingBytes);
  // characterCode gives -1 where there is no byte, so an empty file makes
  // both values negative.
  const int hour = characterCode(bytes, 1) - 1;
  const int minute = characterCode(bytes, textLength(bytes)) - 1;
  if (hour < 0 || minute < 0) return {};
  return AlarmTime{static_cast<std::int16_t>(hour), static_cast<std::int16_t>(minute)};
}

void WriteRingFile(int alarm, Number hour, Number minute) {
  if (!validAlarm(alarm) || QuitFlag.load()) return;
  clearLastError();
  // Rounded once, so that the file and the table always hold the same time.
  const AlarmTime time{toInt16(hour), toInt16(minute)};
  writeSettingsFile(ringFileName(alarm),
                    character((time.hour + 1) & 0xFF) + character((time.minute + 1) & 0xFF));
  StoreAlarmTime(alarm, time);
}

Text ReadSpeakFile(int alarm) {
  if (!hasTextFile(alarm)) return {};
  clearLastError();
  const Text bytes = readSettingsFile(speakFileName(alarm), kSpeakBytes);
  const TextPos period = findText(1, bytes, ".");
  // The sign column of the number is the blank between "alarm" and the digit.
  const Text text = period > 0 ? substring(bytes, 1, period)
                               : "alarm" + numberToText(alarm) + " active.";
  const WindowHandle window = MainWindow.load();
  if (window != 0) setControlText(window, IDC_SPEAK_TEXT, text);
  return text;
}

void WriteSpeakFile(int alarm) {
  if (!hasTextFile(alarm)) return;
  clearLastError();
  Text text = getControlText(MainWindow.load(), IDC_SPEAK_TEXT);
  if (characterCode(text, textLength(text)) != '.') text += ".";
  writeSettingsFile(speakFileName(alarm), text);
  StoreAlarmText(alarm, text);
}
