#include "inspiration/saying_extract.h"

#include <algorithm>

#include "inspiration/saying_fetch.h"

namespace {

// The tag end is looked for only this far into the text after the first cut,
// and the cut after it made only when it lies at this position or before
// (1-based positions).
constexpr std::size_t kTagEndSearch = 256;
constexpr std::size_t kTagEndCutLimit = 254;

// Markup becomes blanks: each "<" and ">" one blank, the tag's inside
// nothing. A carriage return gets a blank of its own in front, and stays
// itself outside a tag.
Text blankOutTags(const Text& text, std::size_t from) {
  Text result;
  result.reserve(text.size() - from + (text.size() - from) / 8);
  bool inTag = false;
  for (std::size_t i = from; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') result += ' ';
    if (c == '<') {
      inTag = true;
      result += ' ';
    } else if (c == '>') {
      inTag = false;
      result += ' ';
    } else if (!inTag) {
      result += c;
    }
  }
  return result;
}

}  // namespace

void ExtractSaying() {
  const Text& page = Saying;
  // 1-based position of the body tag, 0 when there is none. The lower-cased
  // copy has the same length, so positions carry over.
  std::size_t found = lowerCase(page).find("<body");
  std::size_t p = found == Text::npos ? 0 : found + 1;
  // First cut: keep from position p + 2, i.e. index p + 1.
  std::size_t start = std::min(p + 1, page.size());

  // The tag end among the first 256 characters after the first cut.
  std::size_t searchEnd = std::min(page.size(), start + kTagEndSearch);
  std::size_t tagEnd = std::find(page.begin() + start, page.begin() + searchEnd, '>') -
                       page.begin();
  if (tagEnd < searchEnd) {
    std::size_t q = tagEnd - start + 1;
    // Second cut: drop the ">" and the character after it.
    if (q <= kTagEndCutLimit) start = std::min(tagEnd + 2, page.size());
  }

  Saying = blankOutTags(page, start);
}
