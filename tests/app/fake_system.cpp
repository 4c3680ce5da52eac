#include "tests/app/fake_system.h"

#include <mutex>

#include "app/startup.h"
#include "platform/com.h"
#include "platform/common_controls.h"
#include "platform/data_file.h"
#include "platform/folder.h"
#include "platform/single_instance.h"
#include "platform/thread.h"

namespace {

std::mutex logLock;
std::vector<std::string> events;
std::string failingThread;
bool heldElsewhere = false;

std::string threadName(ThreadProc procedure) {
  if (procedure == DialogThread) return "dialog";
  if (procedure == ClockThreadProcedure) return "clock";
  return "other";
}

// Handles encode the thread's name so closing can be logged by name.
constexpr ThreadHandle kDialogHandle = 101;
constexpr ThreadHandle kClockHandle = 102;

}  // namespace

std::vector<std::string> startupEvents() {
  std::lock_guard<std::mutex> hold(logLock);
  return events;
}

void logStartupEvent(const std::string& event) {
  std::lock_guard<std::mutex> hold(logLock);
  events.push_back(event);
}

void failThreadStart(const std::string& name) { failingThread = name; }
void holdSingleInstanceElsewhere() { heldElsewhere = true; }

void resetFakeSystem() {
  std::lock_guard<std::mutex> hold(logLock);
  events.clear();
  failingThread.clear();
  heldElsewhere = false;
}

void loadCommonControls() { logStartupEvent("common controls"); }
void initThreadApartment() { logStartupEvent("apartment"); }
void uninitThreadApartment() { logStartupEvent("apartment end"); }
void makeFolder(const Text& path) { logStartupEvent("make folder " + path); }

bool claimSingleInstance(const Text& settingsFolder) {
  logStartupEvent("claim lock " + settingsFolder);
  return !heldElsewhere;
}
void showRunningInstance(const Text& settingsFolder, const Text& windowCaption) {
  logStartupEvent("show running " + settingsFolder + " " + windowCaption);
}

ThreadHandle startThread(ThreadProc procedure, std::uintptr_t) {
  const std::string name = threadName(procedure);
  if (name == failingThread) {
    logStartupEvent("start " + name + " failed");
    return 0;
  }
  logStartupEvent("start " + name);
  return name == "dialog" ? kDialogHandle : kClockHandle;
}

void closeThreadHandle(ThreadHandle handle) {
  logStartupEvent(handle == kDialogHandle ? "close dialog"
                  : handle == kClockHandle ? "close clock"
                                           : "close none");
}

// Settings files: every open is logged and fails, so the defaults apply.
DataFile openDataFile(const Text& path) {
  logStartupEvent("open " + path);
  return DataFile{};
}
void setPosition(DataFile&, std::int64_t) {}
Text readBytes(DataFile&, std::int64_t) { return Text(); }
void writeBytes(DataFile&, const Text&) {}
void closeDataFile(DataFile&) {}
