// Placeholder so that the programs link while the backend is written.
#include "platform/wake_timer.h"

void setWakeTime(std::int64_t) {}
void cancelWakeTime() {}
void keepAwake(bool) {}
