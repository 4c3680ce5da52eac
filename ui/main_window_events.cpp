#include "ui/main_window.h"

// Placeholder until the window's events are built: no message is acted on.
MessageResult OnMainWindowMessage(WindowHandle, std::uint32_t, MessageParam, MessageParam) {
  return 0;
}
