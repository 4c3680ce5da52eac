#pragma once
#include "platform/text.h"

// Makes the last level of path. Refuses an empty path or one holding "*" or
// "?". An existing folder, or any failure, sets lastError and changes nothing.
void makeFolder(const Text& path);
