#include "platform/net/socket_connection.h"

#include "platform/last_error.h"

int socketFailure(int code, int systemError) {
  setLastError(systemError != 0 ? systemError : code);
  return code;
}

int openClientConnection(SocketConnection** connection, const Text& service, const Text& host,
                         std::uint32_t timeoutMs) {
  if (connection == nullptr) return socketFailure(kSocketNoConnection, 0);
  *connection = nullptr;
  int systemError = 0;
  int failure = osStartSockets(&systemError);
  if (failure != kSocketOk) return socketFailure(failure, systemError);
  OsSocket socket = kNoOsSocket;
  int port = 0;
  failure = osConnect(service, host, &socket, &port, &systemError);
  if (failure != kSocketOk) {
    osStopSockets();
    return socketFailure(failure, systemError);
  }
  auto* opened = new SocketConnection;
  opened->socket = socket;
  opened->port = port;
  opened->timeoutMs = timeoutMs;
  *connection = opened;
  return kSocketOk;
}

void closeConnection(SocketConnection* connection) {
  if (connection == nullptr) return;
  osCloseSocket(connection->socket);
  osStopSockets();
  delete connection;
}
