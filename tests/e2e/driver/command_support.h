#pragma once
// Small helpers the commands share: number arguments, the main window and a
// control of it, with a message on standard error when one is missing.
#include <windows.h>

#include <string>

bool parseNumber(const std::wstring& text, long& value);  // decimal or 0x hex
// The main window, or null after printing why.
HWND requireDialog();
// Control `idText` of the main window, or null after printing why.
HWND requireControl(const std::wstring& idText);
std::string hex8(unsigned long value);  // 0x%08lX
