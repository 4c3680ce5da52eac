#include "alarms/window_flags.h"

std::array<bool, kAlarmCount + 1> ArmFlags{};
std::array<bool, kAlarmCount + 1> PmFlags{};
