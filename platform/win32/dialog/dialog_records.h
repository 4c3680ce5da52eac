#pragma once
// What the toolkit remembers about each dialog and control it made, and the
// process-wide open-dialog count and active dialog. Records are looked up by
// window handle under one lock; callers copy what they need out and never
// call the window system while the lock is held.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/dialog.h"

struct ControlRecord {
  HWND window = nullptr;
  int id = 0;
  ControlKind kind = ControlKind::PushButton;
  DWORD style = 0;
  DWORD exStyle = 0;
  FontId font = 0;  // the toolkit font the control shows; 0 for the dialog font
};

struct DialogRecord {
  HWND window = nullptr;
  HWND parent = nullptr;  // nullptr: top-level
  DWORD style = 0;
  DWORD exStyle = 0;
  int showCommand = SW_SHOW;
  HFONT font = nullptr;  // the dialog's own font, given to every control
  DialogHandler handler = nullptr;  // registered by runModal
  MessageResult* resultTarget = nullptr;  // where endDialog stores the result
  bool modal = false;
  bool ending = false;  // inside endDialog
  HACCEL accelerators = nullptr;  // the program never gives one
};

void addDialogRecord(const DialogRecord& record);
// A copy of the dialog's record.
std::optional<DialogRecord> findDialogRecord(HWND dialog);
// The font the dialog reported when it was made (WM_GETFONT), which every
// control added later gets; asked again of a window the toolkit did not make.
HFONT dialogFontOf(HWND dialog);
void registerHandler(HWND dialog, DialogHandler handler);
void setResultTarget(HWND dialog, MessageResult* target);
// Stores the result in the registered target, if any. Returns false when
// the dialog is already ending, so that an end is never started twice.
bool beginEnding(HWND dialog, MessageResult result);
void addControlRecord(HWND dialog, const ControlRecord& control);
// Makes the control show toolkit font `font`; returns the font it showed
// before, or nothing when the control has no record.
std::optional<FontId> swapControlFont(HWND dialog, HWND control, FontId font);
// Forgets the dialog and its controls; returns the controls so that their
// fonts lose a user.
std::vector<ControlRecord> removeDialogRecord(HWND dialog);

// The number of open dialogs and the active dialog, shared by every thread.
void noteDialogOpened();
void noteDialogClosed(HWND dialog);
int openDialogCount();
void setActiveDialog(HWND dialog);
// Clears the active dialog, if it is this one.
void clearActiveDialog(HWND dialog);
HWND activeDialog();
