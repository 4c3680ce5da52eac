#include "timing_log.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace {

std::mutex logLock;

std::string oneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') {
      line += "\\r";
    } else if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace

double timingNowMs() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void appendTimingLine(const std::string& event, double ms, const std::string& text) {
  const char* path = std::getenv("BQ_TIMING_LOG");
  if (path == nullptr) return;
  std::lock_guard<std::mutex> hold(logLock);
  if (std::FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s %.1f %s\n", event.c_str(), ms, oneLine(text).c_str());
    std::fclose(file);
  }
}
