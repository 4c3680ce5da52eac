#pragma once
// The failure number of the last platform step on this thread. Each
// operation that cares starts with clearLastError(); nothing shows it.
int lastError();
void setLastError(int code);
void clearLastError();
