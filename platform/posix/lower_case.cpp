#include "platform/text.h"

// Lower-cases by the Windows-1252 code page, the ANSI page of the systems the
// program is made for: ASCII letters and the accented letters of 0xC0..0xDE
// (except the multiplication sign 0xD7), plus the three letters of 0x8A..0x9F.
Text lowerCase(const Text& t) {
  Text lower = t;
  for (char& c : lower) {
    auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
      b = static_cast<unsigned char>(b + 0x20);
    } else if (b == 0x8A || b == 0x8C || b == 0x8E) {
      b = static_cast<unsigned char>(b + 0x10);
    } else if (b == 0x9F) {
      b = 0xFF;
    }
    c = static_cast<char>(b);
  }
  return lower;
}
