#pragma once
// When a saying is fetched and what becomes of it.

// Clock thread, first announcement of a ring of alarm E: a non-empty new
// saying becomes alarm E's text.
void RefreshAlarmESaying();
// Dialog thread, the "Brightquill" button: shows and speaks a new saying.
void FetchSayingNow();
