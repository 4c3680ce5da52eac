#include "platform/gtk/entry_notices.h"

namespace gtk_dialog {
namespace {

// GTK's entry accessible follows the text through a handler of the entry's
// "insert-text" and one of its "delete-text", and the caret and selection
// through one of its "notify", each connected without data; they are the
// only data-less handlers an entry of this program has, since every handler
// the program connects carries its control's handle.
constexpr const char* kFollowedSignals[] = {"insert-text", "delete-text", "notify"};

void blockAccessibleHandlers(GtkEntry* entry, bool block) {
  for (const char* name : kFollowedSignals) {
    const guint signal = g_signal_lookup(name, G_OBJECT_TYPE(entry));
    const auto mask = static_cast<GSignalMatchType>(G_SIGNAL_MATCH_ID | G_SIGNAL_MATCH_DATA);
    if (block) {
      g_signal_handlers_block_matched(entry, mask, signal, 0, nullptr, nullptr, nullptr);
    } else {
      g_signal_handlers_unblock_matched(entry, mask, signal, 0, nullptr, nullptr, nullptr);
    }
  }
}

}  // namespace

void setEntryTextUnannounced(GtkEntry* entry, const char* utf8) {
  // gtk_entry_set_text hands out its property notices (the caret's among
  // them) before it returns, so all of them meet the blocked handlers.
  blockAccessibleHandlers(entry, true);
  gtk_entry_set_text(entry, utf8);
  blockAccessibleHandlers(entry, false);
}

}  // namespace gtk_dialog
