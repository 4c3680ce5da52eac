#pragma once
// Start-up's system calls, simulated and written to one log in call order.
#include <string>
#include <vector>

std::vector<std::string> startupEvents();
void logStartupEvent(const std::string& event);
// Makes startThread fail for the given procedure name ("dialog" or "clock").
void failThreadStart(const std::string& name);
// Makes claimSingleInstance find another running clock.
void holdSingleInstanceElsewhere();
void resetFakeSystem();
