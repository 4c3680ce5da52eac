#include "platform/last_error.h"

namespace {
thread_local int currentError = 0;
}

int lastError() { return currentError; }
void setLastError(int code) { currentError = code; }
void clearLastError() { currentError = 0; }
