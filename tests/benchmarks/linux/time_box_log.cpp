// Linked into the timed build with --wrap: every setControlText goes to the
// real one, and once the window has taken the text, an update of the time
// box is logged as "tick MS" and one of the "Text to Speak" box as
// "shown MS TEXT".
#include "platform/dialog.h"
#include "timing_log.h"

// The real toolkit function, under the name the linker gives it.
void realSetControlText(WindowHandle dialog, int id, const Text& text) __asm__(
    "__real__Z14setControlTextmiRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");

void wrappedSetControlText(WindowHandle dialog, int id, const Text& text) __asm__(
    "__wrap__Z14setControlTextmiRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");

void wrappedSetControlText(WindowHandle dialog, int id, const Text& text) {
  realSetControlText(dialog, id, text);
  const double at = timingNowMs();
  if (id == 1001) appendTimingLine("tick", at, "");
  if (id == 1032) appendTimingLine("shown", at, text);
}
