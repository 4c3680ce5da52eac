#include "platform/autostart.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/posix/autostart_entry.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// The Exec and TryExec lines of an entry, or the empty entry.
std::string commandLines(const std::string& entry) {
  std::string lines;
  std::size_t start = 0;
  while (start < entry.size()) {
    const std::size_t end = entry.find('\n', start);
    const std::string line = entry.substr(start, end - start);
    if (line.rfind("Exec=", 0) == 0 || line.rfind("TryExec=", 0) == 0) lines += line + "\n";
    start = end == std::string::npos ? entry.size() : end + 1;
  }
  return lines;
}

TEST(AutostartTest, ProgramPathsAreQuotedByTheDesktopEntryRules) {
  struct Case {
    std::string path;
    std::string lines;  // empty: no entry at all
  };
  const Case cases[] = {
      {"/usr/bin/brightquill", "Exec=brightquill\nTryExec=brightquill\n"},
      {"/usr/local/bin/brightquill", "Exec=brightquill\nTryExec=brightquill\n"},
      {"/usr/local/bin/old/brightquill",
       "Exec=/usr/local/bin/old/brightquill\nTryExec=/usr/local/bin/old/brightquill\n"},
      {"/home/ann/brightquill", "Exec=/home/ann/brightquill\nTryExec=/home/ann/brightquill\n"},
      {"/opt/my apps/brightquill",
       "Exec=\"/opt/my apps/brightquill\"\nTryExec=/opt/my apps/brightquill\n"},
      {"/opt/100%/brightquill", "Exec=/opt/100%%/brightquill\nTryExec=/opt/100%/brightquill\n"},
      {"/opt/$HOME/brightquill",
       "Exec=\"/opt/\\\\$HOME/brightquill\"\nTryExec=/opt/$HOME/brightquill\n"},
      {"/opt/a\"b/brightquill", "Exec=\"/opt/a\\\\\"b/brightquill\"\nTryExec=/opt/a\"b/brightquill\n"},
      {"/opt/a\\b/brightquill",
       "Exec=\"/opt/a\\\\\\\\b/brightquill\"\nTryExec=/opt/a\\\\b/brightquill\n"},
      {"/opt/it's/brightquill", "Exec=\"/opt/it's/brightquill\"\nTryExec=/opt/it's/brightquill\n"},
      {"brightquill", ""},
      {"", ""},
      {"/opt/two\nlines/brightquill", ""},
      {"/opt/caf\xC3\xA9/brightquill",
       "Exec=/opt/caf\xC3\xA9/brightquill\nTryExec=/opt/caf\xC3\xA9/brightquill\n"},
      {"/opt/caf\xE9/brightquill", ""},          // Latin-1, not UTF-8
      {"/opt/\xC0\xAF/brightquill", ""},         // an overlong "/"
      {"/opt/\xED\xA0\x80/brightquill", ""},     // a surrogate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(commandLines(autostartEntry(c.path)), c.lines);
    EXPECT_EQ(autostartEntry(c.path).empty(), c.lines.empty());
  }
}

TEST(AutostartTest, OnWritesTheUsersEntryAndOffRemovesIt) {
  test_files::TempFolder temp;
  const char* old = getenv("XDG_CONFIG_HOME");
  const std::string oldValue = old != nullptr ? old : "";
  setenv("XDG_CONFIG_HOME", temp.text().c_str(), 1);
  const fs::path folder = fs::path(temp.text()) / "autostart";
  const fs::path entry = folder / kDesktopEntryName;

  ASSERT_TRUE(setStartAtSignIn(true));
  EXPECT_EQ(test_files::readFileBytes(entry), autostartEntry(fs::read_symlink("/proc/self/exe")));
  ASSERT_TRUE(setStartAtSignIn(true)) << "on again replaces the entry";
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
      << "nothing is left beside the entry";
  EXPECT_TRUE(setStartAtSignIn(false));
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_TRUE(setStartAtSignIn(false)) << "off when already off";

  // A file where the autostart folder belongs: nothing can be written.
  fs::remove(folder);
  test_files::writeFileBytes(folder, "not a folder");
  EXPECT_FALSE(setStartAtSignIn(true));

  if (old != nullptr) {
    setenv("XDG_CONFIG_HOME", oldValue.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
