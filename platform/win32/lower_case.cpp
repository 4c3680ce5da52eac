#include <windows.h>

#include "platform/text.h"

// The user's locale decides, as for every ANSI text of the system.
Text lowerCase(const Text& t) {
  Text lower = t;
  if (!lower.empty()) CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  return lower;
}
