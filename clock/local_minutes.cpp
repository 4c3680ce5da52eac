#include "clock/local_minutes.h"

namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back; eras of 400 years repeat exactly.
std::int64_t daysFromDate(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void dateFromDays(std::int64_t days, LocalDateTime& time) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  time.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  time.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2));
}

}  // namespace

std::int64_t LocalMinuteNumber(const LocalDateTime& time) {
  return daysFromDate(time.year, time.month, time.day) * kMinutesPerDay + time.hour * 60 +
         time.minute;
}

LocalDateTime LocalTimeOfMinute(std::int64_t minuteNumber) {
  const std::int64_t days =
      (minuteNumber >= 0 ? minuteNumber : minuteNumber - (kMinutesPerDay - 1)) / kMinutesPerDay;
  const std::int64_t minuteOfDay = minuteNumber - days * kMinutesPerDay;
  LocalDateTime time;
  dateFromDays(days, time);
  time.hour = static_cast<int>(minuteOfDay / 60);
  time.minute = static_cast<int>(minuteOfDay % 60);
  return time;
}
