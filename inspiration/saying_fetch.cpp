#include "inspiration/saying_fetch.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/socket.h"

thread_local Text Saying;

namespace {

constexpr std::size_t kReceiveRequestSize = 4096;

// The request names the web host in an absolute URL and has no Host header;
// the connection goes to the site domain.
const char* const kRequestLines[] = {
    "GET http://www.brightquill.com/inspiration.html HTTP/1.0\r\n",
    "Referer: http://www.brightquill.com\r\n",
    "User-Agent: Brightquill (www.brightquill.com)\r\n",
    "\r\n",
};

std::mutex settingsLock;
SayingFetchSettings currentSettings;

}  // namespace

SayingFetchSettings sayingFetchSettings() {
  std::lock_guard<std::mutex> hold(settingsLock);
  return currentSettings;
}

void setSayingFetchSettings(const SayingFetchSettings& settings) {
  std::lock_guard<std::mutex> hold(settingsLock);
  currentSettings = settings;
}

void FetchSayingPage() { FetchSayingPageWith(sayingFetchSettings()); }

void FetchSayingPageWith(const SayingFetchSettings& settings) {
  Saying.clear();
  SocketConnection* connection = nullptr;
  if (openClientConnection(&connection, settings.service, settings.host, settings.timeoutMs,
                           settings.fetchLimitMs) != kSocketOk) {
    return;
  }
  // A failed send does not stop the others; it ends the receive loop below
  // after its first pass.
  int failure = kSocketOk;
  for (const char* line : kRequestLines) {
    int sent = sendText(connection, line);
    if (sent != kSocketOk) failure = sent;
  }

  Text page;
  Text chunk;
  do {
    std::size_t wanted = std::min(kReceiveRequestSize, kSayingPageLimit - page.size());
    int received = receiveBytes(connection, wanted, &chunk);
    if (received != kSocketOk) failure = received;
    page += chunk;
  } while (!chunk.empty() && failure == kSocketOk && page.size() < kSayingPageLimit);

  closeConnection(connection);
  Saying = std::move(page);
}
