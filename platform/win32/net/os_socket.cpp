// Windows Sockets 2. Each connection starts and stops the library itself.
// Both look-ups go through getaddrinfo: one call for the service and the
// host, it takes a port number as a service so that tests can reach a server
// of their own, and the BSD twin of this file is then the same code.
#include "platform/net/os_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

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
int lookUpPort(const Text& service, int* systemError) {
  addrinfo hints = tcpHints();
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  int failure = getaddrinfo(nullptr, service.c_str(), &hints, &found);
  if (failure != 0 || found == nullptr) {
    *systemError = failure;
    return 0;
  }
  int port = ntohs(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_port);
  freeaddrinfo(found);
  return port;
}

// The first IPv4 address of host; false when it has none.
bool lookUpHost(const Text& host, sockaddr_in* address, int* systemError) {
  addrinfo hints = tcpHints();
  addrinfo* found = nullptr;
  int failure = getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (failure != 0 || found == nullptr) {
    *systemError = failure;
    return false;
  }
  std::memcpy(address, found->ai_addr, sizeof *address);
  freeaddrinfo(found);
  return true;
}

int clampedLength(std::size_t count) {
  return count > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(count);
}

}  // namespace

int osStartSockets(int* systemError) {
  WSADATA data;
  *systemError = WSAStartup(MAKEWORD(2, 0), &data);
  if (*systemError != 0) return kSocketStartFailed;
  if (LOBYTE(data.wVersion) != 2) {
    WSACleanup();
    return kSocketStartFailed;
  }
  return kSocketOk;
}

void osStopSockets() { WSACleanup(); }

int osConnect(const Text& service, const Text& host, OsSocket* socketOut, int* port,
              int* systemError) {
  *socketOut = kNoOsSocket;
  *systemError = 0;
  // Names with an embedded zero byte cannot be looked up, and an empty host
  // name would mean this machine to some resolvers and nothing to others.
  if (service.find('\0') != Text::npos) return kSocketServiceNotFound;
  if (host.empty() || host.find('\0') != Text::npos) return kSocketHostNotFound;
  *port = lookUpPort(service, systemError);
  if (*port == 0) return kSocketServiceNotFound;
  sockaddr_in address;
  if (!lookUpHost(host, &address, systemError)) return kSocketHostNotFound;
  address.sin_port = htons(static_cast<u_short>(*port));

  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    *systemError = WSAGetLastError();
    return kSocketCreateFailed;
  }
  // Closing never waits for unsent data.
  BOOL dontLinger = TRUE;
  setsockopt(s, SOL_SOCKET, SO_DONTLINGER, reinterpret_cast<const char*>(&dontLinger),
             sizeof dontLinger);
  u_long nonBlocking = 1;
  if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
    *systemError = WSAGetLastError();
    closesocket(s);
    return kSocketConnectFailed;
  }
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
      WSAGetLastError() != WSAEWOULDBLOCK) {
    *systemError = WSAGetLastError();
    closesocket(s);
    return kSocketConnectFailed;
  }
  *socketOut = static_cast<OsSocket>(s);
  return kSocketOk;
}

int osConnectOutcome(OsSocket socket, int* systemError) {
  int pending = 0;
  int length = sizeof pending;
  if (getsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_ERROR,
                 reinterpret_cast<char*>(&pending), &length) != 0) {
    pending = WSAGetLastError();
  }
  *systemError = pending;
  return pending == 0 ? kSocketOk : kSocketConnectFailed;
}

WaitOutcome osWaitFor(OsSocket socket, bool forWriting, WaitTime time, int* systemError) {
  *systemError = 0;
  SOCKET s = static_cast<SOCKET>(socket);
  fd_set watched;
  FD_ZERO(&watched);
  FD_SET(s, &watched);
  // Winsock reports a failed connect in the exception set, not as writable.
  fd_set failed;
  FD_ZERO(&failed);
  FD_SET(s, &failed);
  timeval limit{time.seconds, time.microseconds};
  int ready = select(0, forWriting ? nullptr : &watched, forWriting ? &watched : nullptr,
                     forWriting ? &failed : nullptr, &limit);
  if (ready == SOCKET_ERROR) {
    *systemError = WSAGetLastError();
    return WaitOutcome::Failed;
  }
  if (ready == 0) return WaitOutcome::TimedOut;
  return WaitOutcome::Ready;
}

long long osSend(OsSocket socket, const char* bytes, std::size_t count, int* systemError) {
  int taken = ::send(static_cast<SOCKET>(socket), bytes, clampedLength(count), 0);
  if (taken == SOCKET_ERROR) {
    *systemError = WSAGetLastError();
    return *systemError == WSAEWOULDBLOCK ? kOsWouldBlock : -1;
  }
  *systemError = 0;
  return taken;
}

long long osReceive(OsSocket socket, char* buffer, std::size_t capacity, int* systemError) {
  int got = ::recv(static_cast<SOCKET>(socket), buffer, clampedLength(capacity), 0);
  if (got == SOCKET_ERROR) {
    *systemError = WSAGetLastError();
    return *systemError == WSAEWOULDBLOCK ? kOsWouldBlock : -1;
  }
  *systemError = 0;
  return got;
}

void osCloseSocket(OsSocket socket) {
  if (socket != kNoOsSocket) closesocket(static_cast<SOCKET>(socket));
}
