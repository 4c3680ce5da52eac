#include "platform/com.h"

// There are no COM apartments on POSIX: a voice needs no set-up per thread.
void initThreadApartment() {}
void uninitThreadApartment() {}
