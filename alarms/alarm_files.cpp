#include "alarms/alarm_files.h"

// Placeholder until the settings files are built: the tables keep their
// empty start-up values.
void LoadAllAlarms() {}
void ReadArmFile() {}
