#pragma once
// The record that the recording voice keeps of every utterance.
//
// One line per Speak call, appended when the call returns:
//   START_MS END_MS THREAD_ID VISIBLE FLAGS TEXT
// START_MS/END_MS: Unix time in milliseconds when Speak was entered and left.
// THREAD_ID: the Windows thread that spoke.
// VISIBLE: two digits, 1 when a dialog window of the speaking process was
//   visible at the start and at the end of the utterance ("00", "01", "11").
// FLAGS: the Speak flags in hex (0 is a synchronous request).
// TEXT: UTF-8; a backslash, CR, LF, TAB and other control characters are
//   written as \\, \r, \n, \t and \xHH so that one utterance stays one line;
//   a null string pointer is written as \N.
#include <windows.h>

#include <string>

namespace speech_log {

// Milliseconds since 1970-01-01 UTC, comparable with `date +%s%3N`.
long long unixTimeMs();

// Whether a visible dialog (class #32770) of this process exists.
bool processHasVisibleDialog();

// Escapes UTF-16 text into one line of UTF-8 as described above.
std::string escapeText(const wchar_t* text);

// A string value of the voice's class key HKCR\CLSID\{recording voice};
// empty when it is not set. The test prefix sets LogFile (where the log is
// written) and may set SpeakMs (how long each Speak takes).
std::wstring classSetting(const wchar_t* name);

// Appends one line (a newline is added) to the log file: the class key's
// LogFile value, or C:\speech-log.txt when it is not set.
void appendLine(const std::string& line);

}  // namespace speech_log
