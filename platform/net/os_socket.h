#pragma once
// The raw socket calls of one system, under the portable connection layer
// in this folder. Each system has its own os_socket.cpp; nothing outside the
// socket layer includes this header.
#include <cstddef>
#include <cstdint>

#include "platform/text.h"

using OsSocket = std::intptr_t;
inline constexpr OsSocket kNoOsSocket = -1;

// The length of one wait as the system's time value holds it.
struct WaitTime {
  long seconds = 0;
  long microseconds = 0;
};

enum class WaitOutcome { Ready, TimedOut, Failed };

// Each returns 0 or a SocketFailure code and puts the system's error number,
// when there is one, into *systemError.
//
// Starts the sockets library for one connection; osStopSockets undoes it.
int osStartSockets(int* systemError);
void osStopSockets();
// Looks up the port of service (a name or a decimal number, protocol tcp) and
// the first IPv4 address of host, then makes a non-blocking socket without
// lingering and starts connecting it. Non-blocking, so that the connect, a
// send and a receive each wait only through osWaitFor with its time-out, and
// a send takes only what fits. Success means the connect is under way: once
// the socket is writable, osConnectOutcome tells how it went. On failure no
// socket is left open.
int osConnect(const Text& service, const Text& host, OsSocket* socket, int* port,
              int* systemError);
// kSocketOk when the connect has succeeded, kSocketConnectFailed otherwise.
int osConnectOutcome(OsSocket socket, int* systemError);
// A socket whose connect has failed counts as ready for writing, so that the
// wait ends as soon as the outcome is known.
WaitOutcome osWaitFor(OsSocket socket, bool forWriting, WaitTime time, int* systemError);
// The number of bytes taken or received (0 on receive: the peer closed),
// kOsWouldBlock when the socket has no room or no data after all, or -1 on a
// socket error.
inline constexpr long long kOsWouldBlock = -2;
long long osSend(OsSocket socket, const char* bytes, std::size_t count, int* systemError);
long long osReceive(OsSocket socket, char* buffer, std::size_t capacity, int* systemError);
void osCloseSocket(OsSocket socket);
