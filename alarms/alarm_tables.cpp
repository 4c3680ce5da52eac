#include "alarms/alarm_tables.h"

#include <mutex>

namespace {

std::mutex tablesLock;
std::array<AlarmTime, kAlarmCount + 1> alarmTimes{};
std::array<Text, kAlarmCount + 1> alarmTexts{};
Text armString = "     ";

bool validAlarm(int alarm) { return alarm >= 1 && alarm <= kAlarmCount; }

}  // namespace

Text SettingsFolder;
int CurrentAlarm = 0;

void ClearAlarmTables() {
  std::lock_guard<std::mutex> hold(tablesLock);
  alarmTimes.fill(AlarmTime{});
  alarmTexts.fill(Text());
  armString = "     ";
}

AlarmTime AlarmTimeOf(int alarm) {
  if (!validAlarm(alarm)) return {};
  std::lock_guard<std::mutex> hold(tablesLock);
  return alarmTimes[alarm];
}

void StoreAlarmTime(int alarm, AlarmTime time) {
  if (!validAlarm(alarm)) return;
  std::lock_guard<std::mutex> hold(tablesLock);
  alarmTimes[alarm] = time;
}

Text ArmStringNow() {
  std::lock_guard<std::mutex> hold(tablesLock);
  return armString;
}

void StoreArmString(const Text& newArmString) {
  std::lock_guard<std::mutex> hold(tablesLock);
  armString = newArmString;
}

Text AlarmTextOf(int alarm) {
  if (!validAlarm(alarm)) return {};
  std::lock_guard<std::mutex> hold(tablesLock);
  return alarmTexts[alarm];
}

void StoreAlarmText(int alarm, const Text& text) {
  if (!validAlarm(alarm)) return;
  std::lock_guard<std::mutex> hold(tablesLock);
  alarmTexts[alarm] = text;
}

AlarmSchedule AlarmScheduleNow() {
  std::lock_guard<std::mutex> hold(tablesLock);
  return AlarmSchedule{alarmTimes, armString};
}
