#pragma once
// The notices that GTK's entry accessible sends assistive technology when an
// entry's text changes. Dialog thread only.
#include <gtk/gtk.h>

namespace gtk_dialog {

// Sets the text as gtk_entry_set_text does, without the accessible's
// text-changed, caret and selection notices, so that a screen reader reads
// the new text when the focus arrives or the user asks for it, rather than
// as it changes. What the entry shows, and its own "changed", stay as with
// gtk_entry_set_text. The accessible keeps the caret and selection it knew,
// so the next caret notice (the user's) also tells of a selection gone.
void setEntryTextUnannounced(GtkEntry* entry, const char* utf8);

}  // namespace gtk_dialog
