#include "platform/text.h"

#include <algorithm>

TextPos textLength(const Text& t) { return static_cast<TextPos>(t.size()); }

Text joinText(const Text& a, const Text& b) { return a + b; }

Text substring(const Text& t, TextPos start, TextPos count) {
  if (start < 1 || start > textLength(t) || count <= 0) return Text();
  const TextPos available = textLength(t) - start + 1;
  return t.substr(static_cast<std::size_t>(start - 1),
                  static_cast<std::size_t>(std::min(count, available)));
}

Text rightPart(const Text& t, TextPos n) {
  if (n <= 0) return Text();
  if (n >= textLength(t)) return t;
  return t.substr(static_cast<std::size_t>(textLength(t) - n));
}

void overwrite(Text& t, TextPos start, TextPos count, const Text& r) {
  if (start < 1 || start > textLength(t)) return;
  const TextPos replaced = std::min({count, textLength(r), textLength(t) - start + 1});
  if (replaced <= 0) return;
  std::copy_n(r.begin(), replaced, t.begin() + (start - 1));
}

TextPos findText(TextPos start, const Text& t, const Text& part) {
  if (t.empty()) return 0;
  if (part.empty()) return start;
  // A start before the first byte searches the whole text.
  const TextPos from = std::max<TextPos>(start, 1);
  if (from > textLength(t)) return 0;
  const std::size_t found = t.find(part, static_cast<std::size_t>(from - 1));
  return found == Text::npos ? 0 : static_cast<TextPos>(found) + 1;
}

bool textEqual(const Text& a, const Text& b) { return a == b; }

int characterCode(const Text& t, TextPos p) {
  if (p < 1 || p > textLength(t)) return -1;
  return static_cast<unsigned char>(t[static_cast<std::size_t>(p - 1)]);
}

Text character(int n) { return Text(1, static_cast<char>(static_cast<unsigned char>(n & 0xFF))); }
