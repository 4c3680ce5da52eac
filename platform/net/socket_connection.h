#pragma once
// The connection record of the socket layer, shared by its portable parts.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/net/os_socket.h"
#include "platform/socket.h"

inline constexpr std::size_t kReceiveBufferSize = 65536;

struct SocketConnection {
  OsSocket socket = kNoOsSocket;
  int port = 0;
  std::uint32_t timeoutMs = 0;
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

// Records a failure in lastError and returns its code.
int socketFailure(int code, int systemError);
