#pragma once
// A TCP server of the test's own on 127.0.0.1, on a free port, run on a
// thread of its own: it accepts connections one after another and hands
// each to the test's handler. Every wait is bounded, so a test whose client
// never comes fails instead of hanging.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>

namespace test_server {

#ifdef _WIN32
using RawSocket = SOCKET;
inline const RawSocket kNone = INVALID_SOCKET;
inline void closeRaw(RawSocket s) { closesocket(s); }
inline constexpr int kSendFlags = 0;
#else
using RawSocket = int;
inline constexpr RawSocket kNone = -1;
inline void closeRaw(RawSocket s) { ::close(s); }
inline constexpr int kSendFlags = MSG_NOSIGNAL;
#endif

// True when s becomes readable within ms milliseconds.
inline bool waitReadable(RawSocket s, int ms) {
#ifdef _WIN32
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval limit{ms / 1000, (ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &limit) > 0;
#else
  pollfd watched{s, POLLIN, 0};
  return ::poll(&watched, 1, ms) > 0;
#endif
}

// A listening socket on 127.0.0.1 at a free port, whose address goes to
// *address. Starts the sockets library on Windows; stopListening undoes both.
inline RawSocket listenOnLoopback(int backlog, sockaddr_in* address) {
#ifdef _WIN32
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
#endif
  RawSocket listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  std::memset(address, 0, sizeof *address);
  address->sin_family = AF_INET;
  address->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(listener, reinterpret_cast<sockaddr*>(address), sizeof *address);
  ::listen(listener, backlog);
  socklen_t length = sizeof *address;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(address), &length);
  return listener;
}

inline void stopListening(RawSocket listener) {
  closeRaw(listener);
#ifdef _WIN32
  WSACleanup();
#endif
}

// One accepted connection, as the handler sees it.
class Peer {
 public:
  explicit Peer(RawSocket s) : socket_(s) {}
  ~Peer() { close(); }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  // Reads until the blank line that ends a request head, the client's end,
  // or 10 s of silence. Returns every byte read.
  std::string readRequest() {
    std::string request;
    while (request.find("\r\n\r\n") == std::string::npos) {
      std::string more = readSome(10000);
      if (more.empty()) break;
      request += more;
    }
    received_ += request;
    return request;
  }
  // Reads until the client closes (or 10 s of silence); returns the bytes.
  std::string readToEnd() {
    std::string all;
    for (;;) {
      std::string more = readSome(10000);
      if (more.empty()) break;
      all += more;
    }
    received_ += all;
    return all;
  }
  // Sends all bytes; false once the client has gone.
  bool write(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      int chunk = static_cast<int>(std::min<std::size_t>(bytes.size() - sent, 1 << 20));
      auto n = ::send(socket_, bytes.data() + sent, chunk, kSendFlags);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }
  void close() {
    if (socket_ != kNone) closeRaw(socket_);
    socket_ = kNone;
  }
  const std::string& received() const { return received_; }

 private:
  // One read after waiting up to ms; empty on the client's end or silence.
  std::string readSome(int ms) {
    if (!waitReadable(socket_, ms)) return {};
    char buffer[65536];
    auto n = ::recv(socket_, buffer, sizeof buffer, 0);
    if (n <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(n));
  }

  RawSocket socket_;
  std::string received_;
};

using Handler = std::function<void(Peer&)>;

class LocalTcpServer {
 public:
  // Listens at once; `connections` clients are accepted and handled in turn.
  explicit LocalTcpServer(Handler handler, int connections = 1)
      : handler_(std::move(handler)) {
    sockaddr_in address;
    listener_ = listenOnLoopback(8, &address);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, connections] { run(connections); });
  }
  ~LocalTcpServer() {
    stop_ = true;
    thread_.join();
    stopListening(listener_);
  }
  LocalTcpServer(const LocalTcpServer&) = delete;
  LocalTcpServer& operator=(const LocalTcpServer&) = delete;

  int port() const { return port_; }
  // The port as a numeric service name.
  std::string service() const { return std::to_string(port_); }
  int acceptedCount() const { return accepted_; }
  // Waits (at most 20 s) until every connection has been handled.
  bool waitUntilDone() {
    for (int i = 0; i < 2000 && !done_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done_;
  }

 private:
  void run(int connections) {
    for (int handled = 0; handled < connections && !stop_;) {
      if (!waitReadable(listener_, 50)) continue;
      RawSocket client = ::accept(listener_, nullptr, nullptr);
      if (client == kNone) continue;
      ++accepted_;
      Peer peer(client);
      handler_(peer);
      ++handled;
    }
    done_ = true;
  }

  Handler handler_;
  RawSocket listener_ = kNone;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<int> accepted_{0};
  std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens: a server's port after it closed.
inline int refusingPort() {
  LocalTcpServer server([](Peer&) {}, 0);
  return server.port();
}

// A port on 127.0.0.1 whose listener never accepts and whose queue one
// connection already fills: the system drops a further connect's requests
// without an answer, so that connect stays under way until it gives up.
class UnansweredPort {
 public:
  UnansweredPort() {
    sockaddr_in address;
    listener_ = listenOnLoopback(0, &address);
    port_ = ntohs(address.sin_port);
    filler_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ::connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  ~UnansweredPort() {
    closeRaw(filler_);
    stopListening(listener_);
  }
  UnansweredPort(const UnansweredPort&) = delete;
  UnansweredPort& operator=(const UnansweredPort&) = delete;

  std::string service() const { return std::to_string(port_); }

 private:
  RawSocket listener_ = kNone;
  RawSocket filler_ = kNone;
  int port_ = 0;
};

}  // namespace test_server
