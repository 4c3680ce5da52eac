#include "platform/posix/drive_root.h"

// Test programs keep their settings in the folder they run in.
std::string driveRootFolder() { return std::string(); }
