#pragma once
// Program text is Windows-1252 bytes; GTK and Pango take UTF-8. These two
// conversions are where the two meet.
#include <string>

#include "platform/text.h"

// Every byte becomes one character: Latin-1 above 0x9F, the code page's
// letters and signs in 0x80..0x9F (its five unused bytes keep their value).
std::string ansiToUtf8(const Text& text);
// Characters the code page cannot hold, and broken UTF-8, become "?".
Text utf8ToAnsi(const std::string& utf8);
