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
// itself outside a tag. Runs of other characters are copied (or, inside a
// tag, skipped) whole, so a long page costs little more than one copy.
Text blankOutTags(const Text& text, std::size_t from) {
  Text result;
  result.reserve(text.size() - from + (text.size() - from) / 8);
  const char* p = text.data() + from;
  const char* const end = text.data() + text.size();
  auto special = [](char c) { return c == '<' || c == '>' || c == '\r'; };
  bool inTag = false;
  while (p < end) {
    const char* run = p;
    while (p < end && !special(*p)) ++p;
    if (!inTag) result.append(run, static_cast<std::size_t>(p - run));
    if (p == end) break;
    const char c = *p++;
    result += ' ';
    if (c == '\r') {
      if (!inTag) result += c;
    } else {
      inTag = c == '<';
    }
  }
  return result;
}

// Index of the first "<body" in any letter case (by the system's ANSI
// rules), or npos. Only the five bytes at each "<" are lower-cased, not a
// copy of the whole page.
std::size_t findBodyTag(const Text& page) {
  static const Text kTag = "<body";
  for (std::size_t i = page.find('<'); i != Text::npos && i + kTag.size() <= page.size();
       i = page.find('<', i + 1)) {
    if (lowerCase(page.substr(i, kTag.size())) == kTag) return i;
  }
  return Text::npos;
}

}  // namespace

void ExtractSaying() {
  const Text& page = Saying;
  // 1-based position of the body tag, 0 when there is none.
  std::size_t found = findBodyTag(page);
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
