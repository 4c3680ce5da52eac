#pragma once
// A small blocking TCP client: open a connection by service and host name,
// send text, receive chunks, close. Every operation returns 0 on success or
// one of the failure codes below; a failure also sets lastError (the system's
// error number when there is one, otherwise the failure code).
#include <cstddef>
#include <cstdint>

#include "platform/text.h"

enum SocketFailure : int {
  kSocketOk = 0,
  kSocketStartFailed = 1,    // the sockets library could not be started
  kSocketServiceNotFound,    // unknown service name (or bad port number)
  kSocketHostNotFound,       // the host has no IPv4 address
  kSocketCreateFailed,
  kSocketConnectFailed,
  kSocketTimedOut,           // a wait for the socket ran out of time
  kSocketSendFailed,
  kSocketReceiveFailed,
  kSocketNoConnection,       // the operation was given no connection
};

struct SocketConnection;  // one per open connection; only this layer sees inside

// Opens a client connection to host at service ("http", or a port number in
// decimal). timeoutMs bounds each wait for the socket: for the connect, and
// later for room to send or data to receive. limitMs bounds the whole
// exchange: no wait of this connection goes on past limitMs after this call
// began, and once that moment has passed every wait times out at once. Only
// the name look-up waits as long as the system does.
// On success *connection holds the new connection; on failure it is nullptr.
int openClientConnection(SocketConnection** connection, const Text& service, const Text& host,
                         std::uint32_t timeoutMs, std::uint32_t limitMs);
// Sends every byte of text as it is, adding nothing.
int sendText(SocketConnection* connection, const Text& text);
// Receives between 0 and maximum bytes into *received (replacing its content).
// 0 bytes with success means the peer has closed the connection. On failure
// *received is empty.
int receiveBytes(SocketConnection* connection, std::size_t maximum, Text* received);
// Closes the socket and releases the connection; nullptr is ignored.
void closeConnection(SocketConnection* connection);
