#pragma once
// The settings files of the alarms in SettingsFolder: raw bytes, no line ends.
#include "alarms/alarm_tables.h"
#include "platform/number_text.h"

// Start-up: times of alarms 1..5 and texts of alarms 1..4 from their files.
void LoadAllAlarms();
void ReadArmFile();
void WriteArmFile();
AlarmTime ReadRingFile(int alarm);
// Numbers may carry a typed fraction; both are rounded, halves to even.
void WriteRingFile(int alarm, Number hour, Number minute);
Text ReadSpeakFile(int alarm);
void WriteSpeakFile(int alarm);
