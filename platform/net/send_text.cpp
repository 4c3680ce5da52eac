#include "platform/net/socket_connection.h"

// Waits for room before each send and sends only what fits, so a peer that
// stops reading makes the send fail after the time-out instead of blocking
// for ever.
int sendText(SocketConnection* connection, const Text& text) {
  if (connection == nullptr) return socketFailure(kSocketNoConnection, 0);
  std::size_t sent = 0;
  while (sent < text.size()) {
    int systemError = 0;
    switch (waitWithin(connection->limits, connection->socket, true, &systemError)) {
      case WaitOutcome::Ready:
        break;
      case WaitOutcome::TimedOut:
        return socketFailure(kSocketTimedOut, 0);
      case WaitOutcome::Failed:
        return socketFailure(kSocketSendFailed, systemError);
    }
    long long taken =
        osSend(connection->socket, text.data() + sent, text.size() - sent, &systemError);
    if (taken == kOsWouldBlock) continue;
    if (taken < 0) return socketFailure(kSocketSendFailed, systemError);
    sent += static_cast<std::size_t>(taken);
  }
  return kSocketOk;
}
