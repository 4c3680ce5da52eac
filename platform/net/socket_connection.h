#pragma once
// The connection record of the socket layer, shared by its portable parts.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "platform/net/os_socket.h"
#include "platform/socket.h"

inline constexpr std::size_t kReceiveBufferSize = 65536;

// How long a wait of one connection may last: timeoutMs at most, and never
// past the deadline of the whole exchange. A monotonic clock, so that a
// change of the system time neither cuts an exchange short nor extends it.
struct WaitLimits {
  std::uint32_t timeoutMs = 0;
  std::chrono::steady_clock::time_point deadline;
};

struct SocketConnection {
  OsSocket socket = kNoOsSocket;
  int port = 0;
  WaitLimits limits;
  // Bytes of the last network read not yet handed out: `held` bytes from
  // buffer[start].
  std::array<char, kReceiveBufferSize> buffer{};
  std::size_t start = 0;
  std::size_t held = 0;
  // Set when a network read of the current receive returned less than a
  // full buffer: the peer has nothing more waiting for now.
  bool shortRead = false;
};

// Whole seconds and the rest in microseconds, so a wait lasts exactly the
// milliseconds asked for.
inline WaitTime waitTimeFromMs(std::uint32_t ms) {
  return WaitTime{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000) * 1000};
}

// Waits for the socket within the limits. Once the deadline has passed it
// times out without asking the system, so that nothing more is sent or read.
WaitOutcome waitWithin(const WaitLimits& limits, OsSocket socket, bool forWriting,
                       int* systemError);

// Records a failure in lastError and returns its code.
int socketFailure(int code, int systemError);
