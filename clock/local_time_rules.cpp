#include "clock/local_time_rules.h"

#include <algorithm>

#include "clock/local_minutes.h"
#include "platform/clock.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

// The local second shown at a UTC second, counted like minute numbers.
std::int64_t localSecondAt(std::int64_t utcSecond) {
  const LocalDateTime local = localTimeAt(utcSecond);
  return LocalMinuteNumber(local) * 60 + local.second;
}

}  // namespace

std::int64_t FirstUtcSecondShowing(std::int64_t localMinute) {
  const std::int64_t wanted = localMinute * 60;
  // The zone's offsets a day either side; a change of the rules between them
  // is what makes a local time skipped or repeated.
  const std::int64_t offsetBefore = localSecondAt(wanted - kSecondsPerDay) - (wanted - kSecondsPerDay);
  const std::int64_t offsetAfter = localSecondAt(wanted + kSecondsPerDay) - (wanted + kSecondsPerDay);
  const std::int64_t underBefore = wanted - offsetBefore;
  const std::int64_t underAfter = wanted - offsetAfter;
  const bool showsBefore = localSecondAt(underBefore) == wanted;
  const bool showsAfter = localSecondAt(underAfter) == wanted;
  if (showsBefore && showsAfter) return std::min(underBefore, underAfter);  // the first pass
  if (showsBefore) return underBefore;
  if (showsAfter) return underAfter;

  // Skipped: the clock shows an earlier time at `early` and a later one at
  // `late`; the first second between them that shows a later one is the jump.
  std::int64_t early = std::min(underBefore, underAfter);
  std::int64_t late = std::max(underBefore, underAfter);
  if (localSecondAt(early) >= wanted || localSecondAt(late) < wanted) return underAfter;
  while (late - early > 1) {
    const std::int64_t middle = early + (late - early) / 2;
    (localSecondAt(middle) >= wanted ? late : early) = middle;
  }
  return late;
}
