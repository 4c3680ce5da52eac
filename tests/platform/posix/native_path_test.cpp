#include "platform/posix/native_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/data_file.h"

namespace {

TEST(NativePathTest, WindowsPathsBecomeLocalOnes) {
  struct Case {
    Text windows;
    std::string native;
  };
  const Case cases[] = {
      {"c:\\quillhaven\\qhsettoarm.txt", "quillhaven/qhsettoarm.txt"},
      {"C:\\quillhaven", "quillhaven"},
      {"c:quillhaven\\x.txt", "quillhaven/x.txt"},
      {"c:\\\\quillhaven\\x.txt", "quillhaven/x.txt"},
      {"c:\\", ""},
      {"/tmp/bq\\qhsettoring1.txt", "/tmp/bq/qhsettoring1.txt"},
      {"relative\\name.txt", "relative/name.txt"},
      {"1:\\x", "1:/x"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.windows);
    EXPECT_EQ(nativePath(c.windows), c.native);
  }
}

TEST(NativePathTest, LongPathsAreCutTo255Characters) {
  const Text longPath = "c:\\" + std::string(300, 'a');
  EXPECT_EQ(nativePath(longPath), std::string(252, 'a'));
}

TEST(NativePathTest, TheSettingsFolderLiesInTheCurrentDirectory) {
  namespace fs = std::filesystem;
  const std::string name = "bq-native-path-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  const fs::path folder = fs::current_path() / name;
  fs::create_directory(folder);
  DataFile file = openDataFile("c:\\" + name + "\\qhsettoarm.txt");
  const bool opened = file.handle != -1;
  writeBytes(file, "A    ");
  closeDataFile(file);
  const bool created = fs::exists(folder / "qhsettoarm.txt");
  const auto size = created ? fs::file_size(folder / "qhsettoarm.txt") : 0;
  fs::remove_all(folder);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(created);
  EXPECT_EQ(size, 5u);
}

}  // namespace
