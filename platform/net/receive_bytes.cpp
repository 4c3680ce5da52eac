#include <algorithm>

#include "platform/net/socket_connection.h"

// Hands out one network read in pieces of at most `maximum` bytes. Once a
// read was short and its bytes are gone, the call returns what it has rather
// than waiting for more, so a caller asking for 4096 at a time gets each
// read's bytes without a wait at its end.
int receiveBytes(SocketConnection* connection, std::size_t maximum, Text* received) {
  if (received == nullptr) return socketFailure(kSocketNoConnection, 0);
  received->clear();
  if (connection == nullptr) return socketFailure(kSocketNoConnection, 0);
  SocketConnection& c = *connection;
  c.shortRead = false;
  for (;;) {
    if (c.held > 0) {
      std::size_t take = std::min(c.held, maximum - received->size());
      received->append(c.buffer.data() + c.start, take);
      c.start += take;
      c.held -= take;
      if (c.held == 0) c.start = 0;
    }
    if (received->size() == maximum) return kSocketOk;
    if (c.held == 0 && c.shortRead) return kSocketOk;

    int systemError = 0;
    switch (waitWithin(c.limits, c.socket, false, &systemError)) {
      case WaitOutcome::Ready:
        break;
      case WaitOutcome::TimedOut:
        if (!received->empty()) return kSocketOk;
        return socketFailure(kSocketTimedOut, 0);
      case WaitOutcome::Failed:
        received->clear();
        return socketFailure(kSocketReceiveFailed, systemError);
    }
    // The buffer is empty here: anything it held went out above or the call
    // returned.
    long long got = osReceive(c.socket, c.buffer.data(), c.buffer.size(), &systemError);
    if (got == kOsWouldBlock) continue;
    if (got < 0) {
      received->clear();
      return socketFailure(kSocketReceiveFailed, systemError);
    }
    if (got == 0) return kSocketOk;
    c.start = 0;
    c.held = static_cast<std::size_t>(got);
    if (c.held < c.buffer.size()) c.shortRead = true;
  }
}
