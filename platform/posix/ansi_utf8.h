#pragma once
#include <string>

#include "platform/text.h"

// Program text is Windows-1252 bytes, the ANSI page of the systems the
// program is made for; the Linux desktop speaks UTF-8. Every byte is
// converted, 0 included. The five bytes that page leaves undefined become
// the control characters of the same value, as Windows converts them.
std::string ansiToUtf8(const Text& text);
