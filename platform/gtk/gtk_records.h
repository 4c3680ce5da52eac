#pragma once
// What the toolkit remembers about each dialog and control it made; their
// number is the open-dialog count. One lock guards the
// records; callers copy out what they need. The widgets in a record are
// touched only on the dialog's own thread, which is also the only thread
// that adds or removes records.
#include <gtk/gtk.h>

#include <optional>
#include <thread>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_units.h"

namespace gtk_dialog {

struct ControlRecord {
  WindowHandle handle = 0;
  int id = 0;
  ControlKind kind = ControlKind::PushButton;
  GtkWidget* widget = nullptr;
  FontId font = 0;  // the toolkit font the control shows; 0 for the dialog font
};

struct DialogRecord {
  WindowHandle handle = 0;
  GtkWidget* window = nullptr;
  GtkWidget* fixed = nullptr;  // the client area, where controls sit at pixel positions
  // The hidden member of the radio group that is active while no radio
  // button is marked (a GTK group always has one active member).
  GtkWidget* noRadio = nullptr;
  std::thread::id owner;
  DialogUnits units;
  DialogHandler handler = nullptr;  // registered by runModal
  MessageResult* resultTarget = nullptr;  // where endDialog stores the result
  bool ending = false;  // inside endDialog
};

// A new handle for a dialog or a control; never 0 and never reused.
WindowHandle newHandle();

void addDialogRecord(const DialogRecord& record);
std::optional<DialogRecord> findDialog(WindowHandle dialog);
// The newest dialog made by this thread.
std::optional<DialogRecord> newestDialogOf(std::thread::id owner);
bool dialogExists(WindowHandle dialog);
void setNoRadio(WindowHandle dialog, GtkWidget* noRadio);
void registerHandler(WindowHandle dialog, DialogHandler handler, MessageResult* resultTarget);
// Stores the result in the registered target. False when the dialog is
// already ending (or gone), so that an end is never started twice.
bool beginEnding(WindowHandle dialog, MessageResult result);
// Forgets the dialog and its controls and returns them.
std::optional<DialogRecord> removeDialogRecord(WindowHandle dialog,
                                               std::vector<ControlRecord>* controls);

void addControlRecord(WindowHandle dialog, const ControlRecord& control);
std::optional<ControlRecord> findControl(WindowHandle dialog, int id);
// The control showing this widget, and its dialog.
std::optional<ControlRecord> findControlByWidget(const GtkWidget* widget, WindowHandle* dialog);
// The control with this handle, and its dialog.
std::optional<ControlRecord> findControlByHandle(WindowHandle control, WindowHandle* dialog);
std::vector<ControlRecord> controlsOf(WindowHandle dialog);
// Makes the control show toolkit font `font`; returns the one it showed.
std::optional<FontId> swapControlFont(WindowHandle dialog, int id, FontId font);

int openDialogCount();

}  // namespace gtk_dialog
