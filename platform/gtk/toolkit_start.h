#pragma once
// GTK runs on one thread of the process: the first that makes a dialog.

namespace gtk_dialog {

// Both are for the process's main, before any other thread exists. Sets the
// environment that GTK reads when it starts (setting it later would race
// with threads that read the environment), and the windows' class.
void prepareToolkitEnvironment();
// Whether GTK finds a display to open, tried without starting GTK.
bool displayCanBeOpened();
// Also for main, in a run that shows no window (a command): ends the
// launcher's "starting" feedback that a start from a desktop entry began.
// Does nothing without a startup ID.
void endLaunchFeedback();

// Starts GTK on the calling thread the first time; afterwards true only on
// that same thread. False when GTK cannot start (no display).
bool startToolkitOnThisThread();
// True on the thread that runs GTK.
bool onToolkitThread();
// The screen's resolution in dots per inch (96 when it reports none).
double screenDpi();

}  // namespace gtk_dialog
