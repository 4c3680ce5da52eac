#pragma once
// The one-clock lock lives in the settings folder it guards, so that one
// clock runs per settings folder whatever the environment says. Its holder
// writes its process id into it, by which a second start finds its window.
#include <sys/types.h>

#include <string>

#include "platform/text.h"

std::string instanceLockPath(const Text& settingsFolder);
// Puts this process's id in place of the file's contents.
void writeInstanceHolder(int descriptor);
// The process id that the holder wrote; 0 when there is none or it is not a
// plain positive number.
pid_t instanceHolder(const Text& settingsFolder);
