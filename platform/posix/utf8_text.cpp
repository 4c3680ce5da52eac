#include "platform/posix/utf8_text.h"

#include <glib.h>

namespace {

// The characters of bytes 0x80..0x9F in Windows-1252.
constexpr gunichar kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

gunichar characterOf(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

char byteOf(gunichar character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
    return static_cast<char>(character);
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == character) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string ansiToUtf8(const Text& text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (char byte : text) {
    char encoded[6];
    const int length = g_unichar_to_utf8(characterOf(static_cast<unsigned char>(byte)), encoded);
    utf8.append(encoded, static_cast<std::size_t>(length));
  }
  return utf8;
}

Text utf8ToAnsi(const std::string& utf8) {
  Text text;
  const char* at = utf8.data();
  const char* end = at + utf8.size();
  while (at < end) {
    const gunichar character = g_utf8_get_char_validated(at, end - at);
    if (character == static_cast<gunichar>(-1) || character == static_cast<gunichar>(-2)) {
      text.push_back('?');
      ++at;
      continue;
    }
    text.push_back(byteOf(character));
    at = g_utf8_next_char(at);
  }
  return text;
}
