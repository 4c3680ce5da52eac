#include "inspiration/saying_extract.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "inspiration/saying_fetch.h"

namespace {

Text extracted(const Text& page) {
  Saying = page;
  ExtractSaying();
  return Saying;
}

// A body tag whose ">" lies at the given position once "<b" is cut off: "ody",
// a blank, filler, ">", then CR LF and "Hi".
Text bodyTagEndingAt(std::size_t position) {
  return "<body " + std::string(position - 5, 'a') + ">\r\nHi";
}

struct Case {
  const char* name;
  Text page;
  Text saying;
};

TEST(ExtractSaying, Table) {
  const std::vector<Case> cases = {
      {"empty", "", ""},
      {"the usual page",
       "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
       "<html><head><title>Today</title></head>\r\n"
       "<BODY BGCOLOR=\"#FFFFFF\">\r\n"
       "Be <b>kind</b> today.\r\n"
       "</body></html>\r\n",
       "\nBe   kind   today. \r\n     \r\n"},
      {"text right after the tag loses its first character", "<body>Hello", "ello"},
      {"tag ends the page", "xx<body>", ""},
      {"one character after the tag", "<body>\r", ""},
      {"no body tag, no tag end early on",
       "HTTP/1.0 200 OK\r\n" + std::string(300, 'w') + "<i>so</i>",
       "TTP/1.0 200 OK \r\n" + std::string(300, 'w') + "  so  "},
      {"no body tag, a tag end early on", "HTTP/1.0 200 OK\r\n<p>\r\nword",
       "\nword"},
      {"upper and mixed case tag", "<BoDy>\r\nHi", "\nHi"},
      {"the body tag after other \"<\"", "<b><<BODY>\r\nHi", "\nHi"},
      {"a body tag cut short by the page's end is none", "ab<bod", "b "},
      {"tag end at 254 is cut", bodyTagEndingAt(254), "\nHi"},
      {"tag end at 255 is not cut", bodyTagEndingAt(255),
       "ody " + std::string(250, 'a') + "  \r\nHi"},
      {"tag end at 256 is not cut", bodyTagEndingAt(256),
       "ody " + std::string(251, 'a') + "  \r\nHi"},
      {"tag end beyond 256 is not found", bodyTagEndingAt(300),
       "ody " + std::string(295, 'a') + "  \r\nHi"},
      {"line-break tag", "<body>\r\nA<br>B\r\n", "\nA  B \r\n"},
      {"a \"<\" inside a tag", "<body>\r\nx<a <b>y", "\nx   y"},
      {"a carriage return inside a tag gives a blank only", "<body>\r\nx<a\r\nb>y", "\nx   y"},
      {"entities and blanks stay as they are", "<body>\r\n  &amp;&nbsp;  \n",
       "\n  &amp;&nbsp;  \n"},
      {"every byte value passes", Text("<body>\r\n\0\xff\xe9\t", 12), Text("\n\0\xff\xe9\t", 5)},
  };
  for (const Case& c : cases) EXPECT_EQ(extracted(c.page), c.saying) << c.name;
}

// A page as long as a fetch keeps, beyond 16-bit signed positions: the body
// tag deep in, a long saying after it, and the work done in one pass.
TEST(ExtractSaying, LongPageIsExtractedWhole) {
  const std::string lead = "HTTP/1.0 200 OK\r\n\r\n<html>" + std::string(40000, 'h');
  const std::string line = "ab <i>x</i>\r\n";
  const std::string lineSaid = "ab   x   \r\n";
  std::string page = lead + "<BODY class=\"q\">\r\n";
  std::string saying = "\n";
  while (page.size() < kSayingPageLimit) {
    page += line;
    saying += lineSaid;
  }
  EXPECT_EQ(extracted(page), saying);
}

}  // namespace
