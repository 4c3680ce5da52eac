#include "clock/time_text.h"

Text TimeNow = "00:00:00";
std::int16_t CurrentHour = 0;
Number CurrentMinute = 0;
Text TimeText;

void MakeTimeText() {
  CurrentHour = toInt16(textToNumber(substring(TimeNow, 1, 2)));
  CurrentMinute = textToNumber(substring(TimeNow, 4, 2));

  // 12-hour clock: 0 and 12 both show as 12.
  std::int16_t hour = CurrentHour > 11 ? static_cast<std::int16_t>(CurrentHour - 12) : CurrentHour;
  if (hour == 0) hour = 12;

  // Right-aligned in two characters, a blank rather than a leading zero.
  const Text hourText = rightPart(joinText(" ", trimLeft(numberToText(hour))), 2);
  TimeText = joinText(hourText, substring(TimeNow, 3, textLength(TimeNow)));
  TimeText = joinText(TimeText, CurrentHour > 11 ? " p" : " a");
}
