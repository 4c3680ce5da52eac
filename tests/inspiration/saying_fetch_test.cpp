#include "inspiration/saying_fetch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "inspiration/saying_extract.h"
#include "tests/inspiration/local_tcp_server.h"

using test_server::LocalTcpServer;
using test_server::Peer;

namespace {

const std::string kExpectedRequest =
    "GET http://www.brightquill.com/inspiration.html HTTP/1.0\r\n"
    "Referer: http://www.brightquill.com\r\n"
    "User-Agent: Brightquill (www.brightquill.com)\r\n"
    "\r\n";

SayingFetchSettings localSite(const std::string& service, std::uint32_t timeoutMs = 5000) {
  SayingFetchSettings settings;
  settings.host = "127.0.0.1";
  settings.service = service;
  settings.timeoutMs = timeoutMs;
  return settings;
}

std::string patternBytes(std::size_t count) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>('A' + (i * 13 + i / 97) % 26);
  return bytes;
}

// Reads the request, sends the answer in one write, closes.
test_server::Handler answerWith(const std::string& answer, std::string* request) {
  return [answer, request](Peer& peer) {
    *request = peer.readRequest();
    peer.write(answer);
  };
}

std::int64_t millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

TEST(FetchSayingPage, SendsTheFourRequestLinesAndKeepsTheWholeResponse) {
  std::string request;
  const std::string response = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" +
                               patternBytes(10000 - 44);
  ASSERT_EQ(response.size(), 10000u);
  LocalTcpServer server(answerWith(response, &request));
  Saying = "left from before";
  FetchSayingPageWith(localSite(server.service()));
  ASSERT_TRUE(server.waitUntilDone());
  // Absolute URL, no Host header, the empty line last, nothing after it.
  EXPECT_EQ(request, kExpectedRequest);
  EXPECT_EQ(Saying.size(), 10000u);
  EXPECT_TRUE(Saying == response);
}

TEST(FetchSayingPage, AnErrorPageIsKeptLikeAnyOther) {
  std::string request;
  const std::string response =
      "HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n"
      "<html><body>\r\nNo such page.\r\n</body></html>\r\n";
  LocalTcpServer server(answerWith(response, &request));
  FetchSayingPageWith(localSite(server.service()));
  EXPECT_EQ(Saying, response);
}

TEST(FetchSayingPage, AServerThatNeverClosesEndsAfterTheTimeOutsWithEverythingKept) {
  const std::string response = "HTTP/1.0 200 OK\r\n\r\n" + patternBytes(5000);
  std::promise<void> fetchDone;
  LocalTcpServer server([&](Peer& peer) {
    peer.readRequest();
    peer.write(response);
    fetchDone.get_future().wait();
  });
  auto start = std::chrono::steady_clock::now();
  FetchSayingPageWith(localSite(server.service(), 300));
  const std::int64_t took = millisecondsSince(start);
  fetchDone.set_value();
  EXPECT_EQ(Saying, response);
  EXPECT_LT(took, 10000);
}

// One byte now and then would keep the fetch going for ever: it ends at its
// limit with the bytes that came.
TEST(FetchSayingPage, ATricklingServerEndsAtTheFetchLimitWithWhatArrived) {
  const std::string stream = "HTTP/1.0 200 OK\r\n\r\n" + patternBytes(400);
  std::atomic<bool> fetchDone{false};
  LocalTcpServer server([&](Peer& peer) {
    peer.readRequest();
    for (std::size_t i = 0; i < stream.size() && !fetchDone; ++i) {
      if (!peer.write(stream.substr(i, 1))) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  SayingFetchSettings site = localSite(server.service());
  site.fetchLimitMs = 300;
  auto start = std::chrono::steady_clock::now();
  FetchSayingPageWith(site);
  const std::int64_t took = millisecondsSince(start);
  fetchDone = true;
  EXPECT_GE(took, 250);
  EXPECT_LT(took, 3000);
  EXPECT_FALSE(Saying.empty());
  EXPECT_EQ(Saying, stream.substr(0, Saying.size()));
}

TEST(FetchSayingPage, NoConnectionLeavesTheSayingEmptyAndSendsNothing) {
  LocalTcpServer watching([](Peer&) {});
  const std::string refusing = std::to_string(test_server::refusingPort());
  struct Case {
    const char* name;
    SayingFetchSettings settings;
  };
  SayingFetchSettings unknownHost = localSite(watching.service());
  unknownHost.host = "no-such-host.invalid";
  for (const Case& c : {Case{"unknown host", unknownHost},
                        Case{"refused connection", localSite(refusing)}}) {
    Saying = "left from before";
    FetchSayingPageWith(c.settings);
    EXPECT_EQ(Saying, "") << c.name;
  }
  EXPECT_EQ(watching.acceptedCount(), 0);
}

TEST(FetchSayingPage, AnEndlessResponseStopsAtTheCap) {
  const std::string stream = patternBytes(kSayingPageLimit + 3 * 65536);
  std::atomic<bool> clientWentAway{false};
  LocalTcpServer server([&](Peer& peer) {
    peer.readRequest();
    // Far more than the cap, in pieces, until the client stops taking them.
    std::size_t sent = 0;
    while (peer.write(stream.substr(sent % stream.size(), 65536))) {
      sent += 65536;
      if (sent > 1024 * kSayingPageLimit) return;
    }
    clientWentAway = true;
  });
  FetchSayingPageWith(localSite(server.service()));
  ASSERT_TRUE(server.waitUntilDone());
  // The size of one receive buffer: one line box, spoken in reasonable time.
  EXPECT_EQ(Saying.size(), 65536u);
  EXPECT_TRUE(Saying == stream.substr(0, kSayingPageLimit));
  EXPECT_TRUE(clientWentAway);
}

// The program connects to the sayings site unless a test points it
// elsewhere; FetchSayingPage goes wherever the settings say.
TEST(FetchSayingPage, UsesTheSiteOfTheSettings) {
  const SayingFetchSettings site = sayingFetchSettings();
  EXPECT_EQ(site.host, "brightquill.com");
  EXPECT_EQ(site.service, "http");
  EXPECT_EQ(site.timeoutMs, 60000u);
  EXPECT_EQ(site.fetchLimitMs, 120000u);

  std::string request;
  LocalTcpServer server(answerWith("page", &request));
  setSayingFetchSettings(localSite(server.service()));
  FetchSayingPage();
  setSayingFetchSettings(site);
  EXPECT_EQ(Saying, "page");
}

// The clock thread and the dialog thread may fetch at once: each must end up
// with its own page, whole.
TEST(FetchSayingPage, OverlappingFetchesEachKeepTheirOwnPage) {
  std::atomic<int> connected{0};
  auto answerOnceBothAreConnected = [&](const std::string& page) {
    return [&connected, page](Peer& peer) {
      ++connected;
      for (int i = 0; i < 1000 && connected < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      peer.readRequest();
      // Two writes, so each fetch takes more than one pass.
      peer.write(page.substr(0, page.size() / 2));
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      peer.write(page.substr(page.size() / 2));
    };
  };
  const std::string pageOne = "HTTP/1.0 200 OK\r\n\r\n<body>\r\n" + std::string(30000, '1');
  const std::string pageTwo = "HTTP/1.0 200 OK\r\n\r\n<body>\r\n" + std::string(20000, '2');
  LocalTcpServer serverOne(answerOnceBothAreConnected(pageOne));
  LocalTcpServer serverTwo(answerOnceBothAreConnected(pageTwo));

  auto fetchOn = [](const SayingFetchSettings& settings) {
    return std::async(std::launch::async, [settings] {
      FetchSayingPageWith(settings);
      ExtractSaying();
      return Saying;
    });
  };
  auto one = fetchOn(localSite(serverOne.service()));
  auto two = fetchOn(localSite(serverTwo.service()));
  EXPECT_TRUE(one.get() == "\n" + std::string(30000, '1'));
  EXPECT_TRUE(two.get() == "\n" + std::string(20000, '2'));
  EXPECT_EQ(connected, 2);
}

}  // namespace
