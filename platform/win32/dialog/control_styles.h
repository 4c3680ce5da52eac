#pragma once
// The window class and complete styles each control kind is created with.
#include <windows.h>

#include "platform/dialog.h"

struct ControlStyle {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

// The kind's default style, with an edit box's flat border traded for a
// sunken client edge.
ControlStyle controlStyleFor(ControlKind kind);
