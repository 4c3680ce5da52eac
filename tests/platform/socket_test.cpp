#include "platform/socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "platform/last_error.h"
#include "platform/net/socket_connection.h"
#include "tests/inspiration/local_tcp_server.h"

using test_server::LocalTcpServer;
using test_server::Peer;

namespace {

constexpr const char* kLocalHost = "127.0.0.1";

std::string patternBytes(std::size_t count) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
  return bytes;
}

SocketConnection* openTo(const LocalTcpServer& server, std::uint32_t timeoutMs) {
  SocketConnection* connection = nullptr;
  EXPECT_EQ(openClientConnection(&connection, server.service(), kLocalHost, timeoutMs), kSocketOk);
  return connection;
}

std::int64_t millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

}  // namespace

TEST(SocketTimeOut, MillisecondsBecomeExactSecondsAndMicroseconds) {
  struct Case {
    std::uint32_t ms;
    long seconds;
    long microseconds;
  };
  for (const Case& c : std::vector<Case>{{60000, 60, 0}, {1500, 1, 500000}, {999, 0, 999000},
                                         {1, 0, 1000}, {0, 0, 0}, {1024, 1, 24000}}) {
    WaitTime wait = waitTimeFromMs(c.ms);
    EXPECT_EQ(wait.seconds, c.seconds) << c.ms;
    EXPECT_EQ(wait.microseconds, c.microseconds) << c.ms;
  }
}

// One network read of 10 000 bytes is handed out in request-sized pieces,
// and the piece that empties a short read ends its receive without a wait.
TEST(SocketReceive, HandsOutOneNetworkReadInPiecesThenReportsTheEnd) {
  const std::string response = patternBytes(10000);
  std::promise<void> written;
  LocalTcpServer server([&](Peer& peer) {
    peer.write(response);
    peer.close();
    written.set_value();
  });
  SocketConnection* connection = openTo(server, 5000);
  ASSERT_NE(connection, nullptr);
  // Everything has arrived before the first receive, so it is one read.
  written.get_future().wait();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));

  std::vector<std::size_t> sizes;
  std::string all;
  for (int i = 0; i < 4; ++i) {
    Text piece;
    EXPECT_EQ(receiveBytes(connection, 4096, &piece), kSocketOk);
    sizes.push_back(piece.size());
    all += piece;
  }
  closeConnection(connection);
  EXPECT_EQ(sizes, (std::vector<std::size_t>{4096, 4096, 1808, 0}));
  EXPECT_EQ(all, response);
}

// With the connection still open, the piece that empties a short read must
// not wait for more: the third receive comes back long before the time-out.
TEST(SocketReceive, LastPieceOfAShortReadComesWithoutWaiting) {
  const std::string response = patternBytes(10000);
  std::promise<void> written;
  std::promise<void> clientDone;
  LocalTcpServer server([&](Peer& peer) {
    peer.write(response);
    written.set_value();
    clientDone.get_future().wait();
  });
  SocketConnection* connection = openTo(server, 20000);
  ASSERT_NE(connection, nullptr);
  written.get_future().wait();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));

  auto start = std::chrono::steady_clock::now();
  std::string all;
  for (std::size_t expected : {4096u, 4096u, 1808u}) {
    Text piece;
    EXPECT_EQ(receiveBytes(connection, 4096, &piece), kSocketOk);
    EXPECT_EQ(piece.size(), expected);
    all += piece;
  }
  EXPECT_LT(millisecondsSince(start), 10000);
  EXPECT_EQ(all, response);
  closeConnection(connection);
  clientDone.set_value();
}

TEST(SocketReceive, PeerClosingAtOnceGivesAnEmptySuccessfulReceive) {
  LocalTcpServer server([](Peer& peer) { peer.close(); });
  SocketConnection* connection = openTo(server, 5000);
  ASSERT_NE(connection, nullptr);
  Text piece = "left over";
  EXPECT_EQ(receiveBytes(connection, 4096, &piece), kSocketOk);
  EXPECT_EQ(piece, "");
  closeConnection(connection);
}

TEST(SocketSend, SendsEveryByteInOrderAddingNothing) {
  // Far more than the socket buffers hold, so the layer must wait for room
  // and send the rest again and again.
  const std::string text = patternBytes(8 * 1024 * 1024 + 13);
  std::string arrived;
  LocalTcpServer server([&](Peer& peer) { arrived = peer.readToEnd(); });
  SocketConnection* connection = openTo(server, 10000);
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(sendText(connection, text), kSocketOk);
  EXPECT_EQ(sendText(connection, ""), kSocketOk);
  closeConnection(connection);
  ASSERT_TRUE(server.waitUntilDone());
  EXPECT_EQ(arrived.size(), text.size());
  EXPECT_TRUE(arrived == text);
}

TEST(SocketTimeOutBehaviour, ReceiveWithNothingArrivingFailsAfterTheTimeOut) {
  std::promise<void> clientDone;
  LocalTcpServer server([&](Peer&) { clientDone.get_future().wait(); });
  SocketConnection* connection = openTo(server, 300);
  ASSERT_NE(connection, nullptr);
  auto start = std::chrono::steady_clock::now();
  Text piece = "stale";
  clearLastError();
  EXPECT_EQ(receiveBytes(connection, 4096, &piece), kSocketTimedOut);
  std::int64_t waited = millisecondsSince(start);
  EXPECT_EQ(piece, "");
  EXPECT_NE(lastError(), 0);
  EXPECT_GE(waited, 250);
  EXPECT_LT(waited, 10000);
  closeConnection(connection);
  clientDone.set_value();
}

// A server that answers and keeps the connection open: the leftover bytes
// come after one time-out, then the next receive fails.
TEST(SocketTimeOutBehaviour, LeftoverBytesComeAfterATimeOutThenTheReceiveFails) {
  const std::string response = patternBytes(5000);
  std::promise<void> clientDone;
  LocalTcpServer server([&](Peer& peer) {
    peer.write(response);
    clientDone.get_future().wait();
  });
  SocketConnection* connection = openTo(server, 200);
  ASSERT_NE(connection, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  Text first, second, third;
  EXPECT_EQ(receiveBytes(connection, 4096, &first), kSocketOk);
  EXPECT_EQ(receiveBytes(connection, 4096, &second), kSocketOk);
  EXPECT_EQ(receiveBytes(connection, 4096, &third), kSocketTimedOut);
  EXPECT_EQ(first + second, response);
  EXPECT_EQ(third, "");
  closeConnection(connection);
  clientDone.set_value();
}

TEST(SocketTimeOutBehaviour, SendToAPeerThatNeverReadsFailsAfterTheTimeOut) {
  std::promise<void> clientDone;
  LocalTcpServer server([&](Peer&) { clientDone.get_future().wait(); });
  SocketConnection* connection = openTo(server, 300);
  ASSERT_NE(connection, nullptr);
  // Much more than the socket buffers of both ends hold together.
  const std::string text(64 * 1024 * 1024, 'x');
  EXPECT_EQ(sendText(connection, text), kSocketTimedOut);
  closeConnection(connection);
  clientDone.set_value();
}

TEST(SocketOpen, FailsWithoutAConnection) {
  const int refusedPort = test_server::refusingPort();
  struct Case {
    const char* name;
    std::string service;
    std::string host;
    int failure;
  };
  const std::vector<Case> cases = {
      {"unknown host", "80", "no-such-host.invalid", kSocketHostNotFound},
      {"empty host", "80", "", kSocketHostNotFound},
      {"unknown service", "no-such-service-here", kLocalHost, kSocketServiceNotFound},
      {"refused connection", std::to_string(refusedPort), kLocalHost, kSocketConnectFailed},
  };
  for (const Case& c : cases) {
    // Not nullptr before, so the test sees that a failed open clears it.
    static SocketConnection notOpened;
    SocketConnection* connection = &notOpened;
    clearLastError();
    EXPECT_EQ(openClientConnection(&connection, c.service, c.host, 1000), c.failure) << c.name;
    EXPECT_EQ(connection, nullptr) << c.name;
    EXPECT_NE(lastError(), 0) << c.name;
  }
}

TEST(SocketOpen, ConnectsByNumericServiceAndExchangesBothWays) {
  LocalTcpServer server([](Peer& peer) {
    std::string request = peer.readRequest();
    peer.write("echo:" + request);
  });
  SocketConnection* connection = openTo(server, 5000);
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(sendText(connection, "ping\r\n\r\n"), kSocketOk);
  std::string answer;
  Text piece;
  while (receiveBytes(connection, 3, &piece) == kSocketOk && !piece.empty()) {
    EXPECT_LE(piece.size(), 3u);
    answer += piece;
  }
  closeConnection(connection);
  EXPECT_EQ(answer, "echo:ping\r\n\r\n");
}

TEST(SocketOperations, RefuseAMissingConnection) {
  Text piece = "x";
  EXPECT_EQ(sendText(nullptr, "x"), kSocketNoConnection);
  EXPECT_EQ(receiveBytes(nullptr, 10, &piece), kSocketNoConnection);
  EXPECT_EQ(piece, "");
  closeConnection(nullptr);
}
