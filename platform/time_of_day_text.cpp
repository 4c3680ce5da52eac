#include <cstdio>

#include "platform/clock.h"

Text timeOfDayText(const LocalDateTime& local) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.hour, local.minute, local.second);
  return Text(text, 8);
}
