#include "platform/com.h"

#include <objbase.h>

void initThreadApartment() { CoInitialize(nullptr); }
void uninitThreadApartment() { CoUninitialize(); }
