// Desktop notices, recorded instead of shown.
#include "platform/recording/recording_desktop_notice.h"

#include <mutex>

#include "platform/desktop_notice.h"

namespace {

std::mutex noticesLock;
std::vector<DesktopNotice> notices;

}  // namespace

void showDesktopNotice(const Text& summary, const Text& body) {
  std::lock_guard<std::mutex> hold(noticesLock);
  notices.push_back(DesktopNotice{summary, body});
}

std::vector<DesktopNotice> desktopNotices() {
  std::lock_guard<std::mutex> hold(noticesLock);
  return notices;
}

void resetRecordingDesktopNotices() {
  std::lock_guard<std::mutex> hold(noticesLock);
  notices.clear();
}
