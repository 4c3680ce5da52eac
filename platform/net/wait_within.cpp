#include <algorithm>

#include "platform/net/socket_connection.h"

WaitOutcome waitWithin(const WaitLimits& limits, OsSocket socket, bool forWriting,
                       int* systemError) {
  *systemError = 0;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      limits.deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return WaitOutcome::TimedOut;
  const auto ms = std::min<std::int64_t>(limits.timeoutMs, left.count());
  return osWaitFor(socket, forWriting, waitTimeFromMs(static_cast<std::uint32_t>(ms)),
                   systemError);
}
