#include "inspiration/saying_schedule.h"

// Placeholder until the sayings fetch exists: nothing is fetched, so alarm
// E's text stays as it is and the button changes nothing.
void RefreshAlarmESaying() {}
void FetchSayingNow() {}
