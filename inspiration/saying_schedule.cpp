#include "inspiration/saying_schedule.h"

#include "alarms/alarm_tables.h"
#include "inspiration/saying_extract.h"
#include "inspiration/saying_fetch.h"
#include "speech/speech.h"

void RefreshAlarmESaying() {
  FetchSayingPage();
  ExtractSaying();
  // A failed fetch keeps the saying of an earlier ring.
  if (!Saying.empty()) StoreAlarmText(kAlarmE, Saying);
}

void FetchSayingNow() {
  FetchSayingPage();
  ExtractSaying();
  if (Saying.empty()) return;
  TextToSpeak = Saying;
  ShowAndSpeak();
}
