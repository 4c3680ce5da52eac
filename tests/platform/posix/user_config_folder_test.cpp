#include "platform/posix/user_config_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

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

TEST(UserConfigFolderTest, FollowsTheXdgRulesAndMakesTheFolder) {
  test_files::TempFolder temp;
  const std::string home = temp.text() + "/home";
  fs::create_directory(home);
  struct Case {
    std::optional<std::string> xdgConfigHome;
    std::string expected;
  };
  const Case cases[] = {
      {temp.text() + "/xdg", temp.text() + "/xdg"},
      {std::nullopt, home + "/.config"},
      {"", home + "/.config"},
      {"relative/config", home + "/.config"},
  };
  const std::optional<std::string> oldHome = variable("HOME");
  const std::optional<std::string> oldXdg = variable("XDG_CONFIG_HOME");
  setVariable("HOME", home);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xdgConfigHome.value_or("(unset)"));
    setVariable("XDG_CONFIG_HOME", c.xdgConfigHome);
    EXPECT_EQ(userConfigFolder(), c.expected);
    EXPECT_TRUE(fs::is_directory(c.expected));
  }
  setVariable("HOME", oldHome);
  setVariable("XDG_CONFIG_HOME", oldXdg);
}

}  // namespace
