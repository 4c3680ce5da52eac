// BSD sockets. Both look-ups go through getaddrinfo: one call for the
// service and the host, it takes a port number as a service so that tests
// can reach a server of their own, the Windows twin of this file is the same
// code, and the clock thread and the dialog thread may call it at once.
#include "platform/net/os_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/socket.h"

namespace {

addrinfo tcpHints() {
  addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  return hints;
}

// The port of a service name from the services database, or of a decimal
// port number; 0 when there is none.
int lookUpPort(const Text& service) {
  addrinfo hints = tcpHints();
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  if (getaddrinfo(nullptr, service.c_str(), &hints, &found) != 0 || found == nullptr) return 0;
  int port = ntohs(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_port);
  freeaddrinfo(found);
  return port;
}

// The first IPv4 address of host; false when it has none.
bool lookUpHost(const Text& host, sockaddr_in* address) {
  addrinfo hints = tcpHints();
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
  std::memcpy(address, found->ai_addr, sizeof *address);
  freeaddrinfo(found);
  return true;
}

}  // namespace

int osStartSockets(int* systemError) {
  *systemError = 0;
  return kSocketOk;
}

void osStopSockets() {}

int osConnect(const Text& service, const Text& host, OsSocket* socketOut, int* port,
              int* systemError) {
  *socketOut = kNoOsSocket;
  *systemError = 0;
  // Names with an embedded zero byte cannot be looked up, and an empty host
  // name would mean this machine to some resolvers and nothing to others.
  if (service.find('\0') != Text::npos) return kSocketServiceNotFound;
  if (host.empty() || host.find('\0') != Text::npos) return kSocketHostNotFound;
  *port = lookUpPort(service);
  if (*port == 0) return kSocketServiceNotFound;
  sockaddr_in address;
  if (!lookUpHost(host, &address)) return kSocketHostNotFound;
  address.sin_port = htons(static_cast<std::uint16_t>(*port));

  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_TCP);
  if (fd < 0) {
    *systemError = errno;
    return kSocketCreateFailed;
  }
  // Closing never waits for unsent data.
  linger noLinger{0, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
  // An interrupted connect goes on in the background, like one in progress.
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
      errno != EINPROGRESS && errno != EINTR) {
    *systemError = errno;
    ::close(fd);
    return kSocketConnectFailed;
  }
  *socketOut = fd;
  return kSocketOk;
}

int osConnectOutcome(OsSocket socket, int* systemError) {
  int pending = 0;
  socklen_t length = sizeof pending;
  if (getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_ERROR, &pending, &length) != 0) {
    pending = errno;
  }
  *systemError = pending;
  return pending == 0 ? kSocketOk : kSocketConnectFailed;
}

WaitOutcome osWaitFor(OsSocket socket, bool forWriting, WaitTime time, int* systemError) {
  *systemError = 0;
  long long ms = static_cast<long long>(time.seconds) * 1000 + time.microseconds / 1000;
  pollfd watched{static_cast<int>(socket), static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
  int ready;
  do {
    ready = ::poll(&watched, 1, static_cast<int>(ms > INT_MAX ? INT_MAX : ms));
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) {
    *systemError = errno;
    return WaitOutcome::Failed;
  }
  if (ready == 0) return WaitOutcome::TimedOut;
  // An error or hang-up is "ready" too: the send or receive that follows
  // reports it, or reads the end of the stream.
  return WaitOutcome::Ready;
}

long long osSend(OsSocket socket, const char* bytes, std::size_t count, int* systemError) {
  ssize_t taken;
  do {
    taken = ::send(static_cast<int>(socket), bytes, count, MSG_NOSIGNAL);
  } while (taken < 0 && errno == EINTR);
  *systemError = taken < 0 ? errno : 0;
  if (taken < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return kOsWouldBlock;
  return taken;
}

long long osReceive(OsSocket socket, char* buffer, std::size_t capacity, int* systemError) {
  ssize_t got;
  do {
    got = ::recv(static_cast<int>(socket), buffer, capacity, 0);
  } while (got < 0 && errno == EINTR);
  *systemError = got < 0 ? errno : 0;
  if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return kOsWouldBlock;
  return got;
}

void osCloseSocket(OsSocket socket) {
  if (socket != kNoOsSocket) ::close(static_cast<int>(socket));
}
