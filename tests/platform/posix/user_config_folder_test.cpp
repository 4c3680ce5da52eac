#include "platform/posix/user_config_folder.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::optional<std::string> variable(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void setVariable(const char* name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

// The folder as a user id without an account entry sees it, from a child
// process (only root can become one); "(none)" for no folder, nullopt when
// this process cannot try.
std::optional<std::string> folderWithoutAnAccount() {
  if (geteuid() != 0) return std::nullopt;
  uid_t stranger = 40000;
  while (getpwuid(stranger) != nullptr) ++stranger;
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    if (setuid(stranger) != 0) _exit(1);
    const std::optional<std::string> folder = userConfigFolder();
    const std::string answer = folder.value_or("(none)");
    const bool written = write(channel[1], answer.data(), answer.size()) ==
                         static_cast<ssize_t>(answer.size());
    _exit(written ? 0 : 1);
  }
  close(channel[1]);
  std::string answer;
  char buffer[256];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, got);
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "(child failed)";
  return answer;
}

TEST(UserConfigFolderTest, FollowsTheXdgRulesAndMakesTheFolder) {
  test_files::TempFolder temp;
  const std::string home = temp.text() + "/home";
  fs::create_directory(home);
  struct Case {
    std::optional<std::string> xdgConfigHome;
    std::string expected;
    std::string madeParent = {};  // a missing parent that is made too, if any
  };
  const Case cases[] = {
      {temp.text() + "/xdg", temp.text() + "/xdg"},
      {std::nullopt, home + "/.config"},
      {"", home + "/.config"},
      {"relative/config", home + "/.config"},
      {temp.text() + "/deep/er/xdg", temp.text() + "/deep/er/xdg", temp.text() + "/deep"},
  };
  const std::optional<std::string> oldHome = variable("HOME");
  const std::optional<std::string> oldXdg = variable("XDG_CONFIG_HOME");
  setVariable("HOME", home);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xdgConfigHome.value_or("(unset)"));
    setVariable("XDG_CONFIG_HOME", c.xdgConfigHome);
    EXPECT_EQ(userConfigFolder(), c.expected);
    EXPECT_TRUE(fs::is_directory(c.expected));
    for (const std::string& made : {c.expected, c.madeParent}) {
      if (made.empty()) continue;
      EXPECT_EQ(fs::status(made).permissions() & fs::perms::all, fs::perms::owner_all) << made;
    }
  }

  // No HOME and no account entry: no folder at all, rather than "/.config".
  setVariable("HOME", std::nullopt);
  setVariable("XDG_CONFIG_HOME", std::nullopt);
  const std::optional<std::string> withoutAccount = folderWithoutAnAccount();
  setVariable("HOME", oldHome);
  setVariable("XDG_CONFIG_HOME", oldXdg);
  if (withoutAccount) {
    EXPECT_EQ(*withoutAccount, "(none)");
  } else {
    std::cout << "no home and no account: not tried, only root can take a free user id\n";
  }
}

}  // namespace
