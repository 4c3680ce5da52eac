#pragma once
// Fetching the sayings page: one HTTP/1.0 request, the raw response kept.
#include <cstddef>
#include <cstdint>

#include "platform/text.h"

// The fetched page, then (after ExtractSaying) the saying. Each thread has
// its own: the clock thread and the dialog thread may fetch at the same time,
// and each must read back exactly the page its own fetch brought in, so a
// fetch followed by ExtractSaying works on one thread's value from start to
// end and never sees the other thread's half-done page.
extern thread_local Text Saying;

// Where a fetch connects. The request itself always names the sayings site.
struct SayingFetchSettings {
  Text host = "brightquill.com";
  Text service = "http";
  std::uint32_t timeoutMs = 60000;  // each wait for the socket
  // The whole fetch, from look-up to last receive. A server that sends a
  // byte now and then cannot hold the calling thread for longer: receiving
  // stops, and what has arrived is kept as if the server had closed.
  std::uint32_t fetchLimitMs = 120000;
};

// At most this much of a response is kept, the size of the socket layer's
// receive buffer; then the fetch stops receiving. The saying goes into a
// one-line box and is spoken in one call, so a larger page would only make
// a saying that takes hours to say.
inline constexpr std::size_t kSayingPageLimit = 65536;

// Fetches from the sayings site into Saying, which is empty when the site
// could not be reached. Blocks the calling thread for the whole exchange.
void FetchSayingPage();
// The same with the given connection settings.
void FetchSayingPageWith(const SayingFetchSettings& settings);

// The settings FetchSayingPage uses: the fixed sayings site unless replaced.
// Tests point it at a server of their own; the program never changes it.
SayingFetchSettings sayingFetchSettings();
void setSayingFetchSettings(const SayingFetchSettings& settings);
