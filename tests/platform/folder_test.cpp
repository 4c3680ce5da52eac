#include "platform/folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

#include "platform/last_error.h"

namespace fs = std::filesystem;

namespace {

// A fresh, empty folder of the test's own under the system's temp folder.
class MakeFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    base_ = fs::temp_directory_path() /
            ("bq_folder_" + std::to_string(stamp) + "_" + std::to_string(serial++));
    fs::create_directories(base_);
    clearLastError();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(base_, ignored);
  }
  // The program's own text form of a path in the test folder.
  Text inBase(const std::string& name) const { return (base_ / name).string(); }

  fs::path base_;
};

TEST_F(MakeFolderTest, MakesANewFolder) {
  makeFolder(inBase("settings"));
  EXPECT_EQ(lastError(), 0);
  EXPECT_TRUE(fs::is_directory(base_ / "settings"));
}

TEST_F(MakeFolderTest, ExistingFolderSetsLastErrorAndKeepsItsContent) {
  fs::create_directory(base_ / "settings");
  fs::create_directory(base_ / "settings" / "inside");
  makeFolder(inBase("settings"));
  EXPECT_NE(lastError(), 0);
  EXPECT_TRUE(fs::is_directory(base_ / "settings" / "inside"));
}

TEST_F(MakeFolderTest, MissingParentFailsAndMakesNothing) {
  makeFolder(inBase("missing") + Text(1, static_cast<char>(fs::path::preferred_separator)) +
             "child");
  EXPECT_NE(lastError(), 0);
  EXPECT_FALSE(fs::exists(base_ / "missing"));
}

TEST_F(MakeFolderTest, EmptyPathIsRefused) {
  makeFolder("");
  EXPECT_NE(lastError(), 0);
}

TEST_F(MakeFolderTest, WildcardsAreRefused) {
  for (const char* name : {"bq*x", "bq?x", "*"}) {
    clearLastError();
    makeFolder(inBase(name));
    EXPECT_NE(lastError(), 0) << name;
  }
  EXPECT_TRUE(fs::is_empty(base_));
}

TEST_F(MakeFolderTest, PathIsCutTo255Characters) {
  const Text base = inBase("");
  ASSERT_LT(base.size(), 200u);
  const Text name(255 - base.size(), 'n');
  makeFolder(base + name + "tail");
  EXPECT_EQ(lastError(), 0);
  EXPECT_TRUE(fs::is_directory(base_ / name));
  EXPECT_FALSE(fs::exists(base_ / (name + "tail")));
}

}  // namespace
