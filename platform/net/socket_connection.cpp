#include "platform/net/socket_connection.h"

#include "platform/last_error.h"

int socketFailure(int code, int systemError) {
  setLastError(systemError != 0 ? systemError : code);
  return code;
}

namespace {

// Waits, within the limits, for the connect that osConnect started.
int finishConnect(const WaitLimits& limits, OsSocket socket, int* systemError) {
  switch (waitWithin(limits, socket, true, systemError)) {
    case WaitOutcome::Ready:
      return osConnectOutcome(socket, systemError);
    case WaitOutcome::TimedOut:
      return kSocketTimedOut;
    case WaitOutcome::Failed:
      break;
  }
  return kSocketConnectFailed;
}

}  // namespace

int openClientConnection(SocketConnection** connection, const Text& service, const Text& host,
                         std::uint32_t timeoutMs, std::uint32_t limitMs) {
  if (connection == nullptr) return socketFailure(kSocketNoConnection, 0);
  *connection = nullptr;
  // The exchange is timed from here, so the look-up counts against it too.
  const WaitLimits limits{timeoutMs,
                          std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs)};
  int systemError = 0;
  int failure = osStartSockets(&systemError);
  if (failure != kSocketOk) return socketFailure(failure, systemError);
  OsSocket socket = kNoOsSocket;
  int port = 0;
  failure = osConnect(service, host, &socket, &port, &systemError);
  if (failure == kSocketOk) failure = finishConnect(limits, socket, &systemError);
  if (failure != kSocketOk) {
    osCloseSocket(socket);
    osStopSockets();
    return socketFailure(failure, systemError);
  }
  auto* opened = new SocketConnection;
  opened->socket = socket;
  opened->port = port;
  opened->limits = limits;
  *connection = opened;
  return kSocketOk;
}

void closeConnection(SocketConnection* connection) {
  if (connection == nullptr) return;
  osCloseSocket(connection->socket);
  osStopSockets();
  delete connection;
}
