#pragma once
// The driver's text edge: everything it prints is ANSI code-page bytes,
// written raw to the standard handles (no CR added).
#include <windows.h>

#include <string>

std::string toAnsi(const std::wstring& text);
void writeOut(const std::string& bytes);
void writeErr(const std::string& bytes);
void printLine(const std::wstring& text);  // ANSI, then "\n"
