#pragma once
// GTK runs on one thread of the process: the first that makes a dialog.

namespace gtk_dialog {

// Starts GTK on the calling thread the first time; afterwards true only on
// that same thread. False when GTK cannot start (no display).
bool startToolkitOnThisThread();
// True on the thread that runs GTK.
bool onToolkitThread();
// The screen's resolution in dots per inch (96 when it reports none).
double screenDpi();

}  // namespace gtk_dialog
