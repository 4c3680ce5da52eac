#include "clock/clock_thread.h"
#include "clock/ring_state.h"
#include "platform/clock.h"
#include "platform/number_text.h"

void SilenceRinging() {
  // Two ticks a second for the rest of this minute, and one more, so the
  // alarm that rang cannot come due again within its minute.
  const Number seconds = textToNumber(substring(timeOfDay(), 7, 2));
  StartSilence(static_cast<std::uint32_t>(toInt32(2 * (60 - seconds) + 1)));
}
