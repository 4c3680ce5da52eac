#pragma once
// What the alarm controls of the main window do. Dialog thread only.
void SetAlarm(int alarm);
void TogglePm(int alarm);
void ToggleArm(int alarm);
void SaveAlarmText();
