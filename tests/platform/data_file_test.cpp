#include "platform/data_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/last_error.h"
#include "tests/support/temp_folder.h"

#if !defined(_WIN32)
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/posix/drive_root.h"

// The test program is linked with flock wrapped (tests/CMakeLists.txt), so
// that a row can make it fail as on a file system without locks.
namespace {
int flockFailure = 0;
}
extern "C" int __real_flock(int descriptor, int operation);
extern "C" int __wrap_flock(int descriptor, int operation) {
  if (flockFailure == 0) return __real_flock(descriptor, operation);
  errno = flockFailure;
  return -1;
}
#endif

namespace {

using test_files::readFileBytes;
using test_files::TempFolder;
using test_files::writeFileBytes;

class DataFileTest : public ::testing::Test {
 protected:
  void SetUp() override { clearLastError(); }

  // The program's name for a file in the test folder.
  Text pathOf(const std::string& name) const { return folder.text() + "\\" + name; }

  TempFolder folder;
};

bool isOpen(const DataFile& file) { return file.handle != -1; }

TEST_F(DataFileTest, OpeningAMissingFileCreatesItEmpty) {
  DataFile file = openDataFile(pathOf("new.txt"));
  ASSERT_TRUE(isOpen(file));
  EXPECT_FALSE(file.readOnly);
  EXPECT_EQ(file.position, 1);
  EXPECT_EQ(readBytes(file, 5), "");
  EXPECT_TRUE(file.endOfFile);
  EXPECT_EQ(lastError(), 0);
  closeDataFile(file);
  EXPECT_EQ(lastError(), 0);
  ASSERT_TRUE(std::filesystem::exists(folder.file("new.txt")));
  EXPECT_EQ(std::filesystem::file_size(folder.file("new.txt")), 0u);
}

TEST_F(DataFileTest, WritingOverALongerFileKeepsTheRest) {
  writeFileBytes(folder.file("six.txt"), "abcdef");
  DataFile file = openDataFile(pathOf("six.txt"));
  writeBytes(file, "XY");
  EXPECT_EQ(file.position, 3);
  closeDataFile(file);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(readFileBytes(folder.file("six.txt")), "XYcdef");
}

TEST_F(DataFileTest, OpenAndCloseNeverTruncate) {
  writeFileBytes(folder.file("keep.txt"), "keep me");
  DataFile file = openDataFile(pathOf("keep.txt"));
  closeDataFile(file);
  EXPECT_EQ(readFileBytes(folder.file("keep.txt")), "keep me");
}

TEST_F(DataFileTest, ShortReadsGiveWhatExists) {
  const std::string twenty = "0123456789abcdefghij";
  writeFileBytes(folder.file("twenty.txt"), twenty);
  DataFile file = openDataFile(pathOf("twenty.txt"));
  EXPECT_EQ(readBytes(file, 4096), twenty);
  EXPECT_TRUE(file.endOfFile);
  EXPECT_EQ(file.position, 21);
  EXPECT_EQ(readBytes(file, 4), "");
  EXPECT_EQ(lastError(), 0);
  closeDataFile(file);
}

TEST_F(DataFileTest, AnExactReadLeavesTheEndOfFileFlagClear) {
  writeFileBytes(folder.file("two.txt"), "ab");
  DataFile file = openDataFile(pathOf("two.txt"));
  EXPECT_EQ(readBytes(file, 2), "ab");
  EXPECT_FALSE(file.endOfFile);
  closeDataFile(file);
}

TEST_F(DataFileTest, EveryByteValueSurvivesAWriteAndARead) {
  std::string all;
  for (int value = 0; value < 256; ++value) all += static_cast<char>(value);
  DataFile file = openDataFile(pathOf("bytes.bin"));
  writeBytes(file, all);
  setPosition(file, 1);
  EXPECT_EQ(readBytes(file, 4096), all);
  closeDataFile(file);
  EXPECT_EQ(readFileBytes(folder.file("bytes.bin")), all);
}

TEST_F(DataFileTest, PositionsCountFromOneAndRefuseLessThanOne) {
  writeFileBytes(folder.file("pos.txt"), "abcdef");
  struct Case {
    std::int64_t position;
    bool refused;
    std::string nextTwo;
  };
  for (const Case& c : {Case{0, true, "ab"}, Case{-5, true, "ab"}, Case{1, false, "ab"},
                        Case{3, false, "cd"}, Case{6, false, "f"}, Case{9, false, ""}}) {
    SCOPED_TRACE(c.position);
    clearLastError();
    DataFile file = openDataFile(pathOf("pos.txt"));
    setPosition(file, c.position);
    EXPECT_EQ(lastError() != 0, c.refused);
    EXPECT_EQ(readBytes(file, 2), c.nextTwo);
    closeDataFile(file);
  }
}

TEST_F(DataFileTest, WritesGoWhereThePositionSays) {
  writeFileBytes(folder.file("mid.txt"), "abcdef");
  DataFile file = openDataFile(pathOf("mid.txt"));
  setPosition(file, 4);
  writeBytes(file, "XY");
  closeDataFile(file);
  EXPECT_EQ(readFileBytes(folder.file("mid.txt")), "abcXYf");
}

TEST_F(DataFileTest, ASecondOpenIsRefusedWhileTheFirstIsOpen) {
  DataFile first = openDataFile(pathOf("shared.txt"));
  ASSERT_TRUE(isOpen(first));
  writeBytes(first, "one");
  clearLastError();
  DataFile second = openDataFile(pathOf("shared.txt"));
  EXPECT_FALSE(isOpen(second));
  EXPECT_NE(lastError(), 0);
  writeBytes(second, "two");
  closeDataFile(first);

  DataFile third = openDataFile(pathOf("shared.txt"));
  EXPECT_TRUE(isOpen(third));
  EXPECT_EQ(readBytes(third, 10), "one");
  closeDataFile(third);
}

#if !defined(_WIN32)
TEST_F(DataFileTest, AFileLockedByAnotherOpenerIsRefused) {
  writeFileBytes(folder.file("locked.txt"), "locked");
  const int other = open(folder.file("locked.txt").c_str(), O_RDWR);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  DataFile file = openDataFile(pathOf("locked.txt"));
  EXPECT_FALSE(isOpen(file));
  EXPECT_NE(lastError(), 0);
  close(other);
  file = openDataFile(pathOf("locked.txt"));
  EXPECT_TRUE(isOpen(file));
  closeDataFile(file);
}
#endif

std::size_t entriesBelow(const std::filesystem::path& folder) {
  std::size_t count = 0;
  for (auto it = std::filesystem::recursive_directory_iterator(folder);
       it != std::filesystem::recursive_directory_iterator(); ++it) {
    ++count;
  }
  return count;
}

// Each row is refused and makes nothing, unless it says that it opens: what
// only looks bad around the program's path must not cost the file.
TEST_F(DataFileTest, BadPathsAreRefusedAndCreateNothing) {
  struct Case {
    const char* what;
    Text path;
    bool opens = false;
#if !defined(_WIN32)
    std::optional<std::string> driveRoot = std::string();  // the folder of "c:"
    int flockFailure = 0;
#endif
  };
  std::vector<Case> cases = {
      {.what = "empty", .path = Text()},
      {.what = "star", .path = pathOf("star*.txt")},
      {.what = "question mark", .path = pathOf("what?.txt")},
      {.what = "missing folder", .path = pathOf("missing\\inner.txt")},
      {.what = "a folder", .path = folder.text()},
  };
#if !defined(_WIN32)
  std::filesystem::create_directory(folder.file("we*rd?"));
  cases.push_back({.what = "wildcards in the drive's folder", .path = "c:\\x.txt",
                   .opens = true, .driveRoot = folder.file("we*rd?").string()});
  cases.push_back({.what = "no folder for the drive", .path = "c:\\x.txt",
                   .driveRoot = std::nullopt});
  for (const int failure : {ENOLCK, EOPNOTSUPP, EINVAL}) {
    cases.push_back({.what = "a file system without locks",
                     .path = pathOf("nolock" + std::to_string(failure) + ".txt"),
                     .opens = true, .flockFailure = failure});
  }
  writeFileBytes(folder.file("held.txt"), "held");
  cases.push_back({.what = "locked by another holder", .path = pathOf("held.txt"),
                   .flockFailure = EWOULDBLOCK});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
#if !defined(_WIN32)
    setDriveRootFolderForTests(c.driveRoot);
    flockFailure = c.flockFailure;
#endif
    const std::size_t entriesBefore = entriesBelow(folder.path());
    clearLastError();
    DataFile file = openDataFile(c.path);
#if !defined(_WIN32)
    setDriveRootFolderForTests(std::string());
    flockFailure = 0;
#endif
    EXPECT_EQ(isOpen(file), c.opens);
    if (c.opens) {
      EXPECT_FALSE(file.readOnly);
      EXPECT_EQ(lastError(), 0);
      writeBytes(file, "kept");
      closeDataFile(file);
      EXPECT_EQ(entriesBelow(folder.path()), entriesBefore + 1);
    } else {
      EXPECT_NE(lastError(), 0);
      EXPECT_EQ(entriesBelow(folder.path()), entriesBefore);
    }
  }
#if !defined(_WIN32)
  EXPECT_EQ(readFileBytes(folder.file("we*rd?") / "x.txt"), "kept");
#endif
}

TEST_F(DataFileTest, AClosedFileOnlySetsLastError) {
  DataFile file = openDataFile(pathOf("missing\\inner.txt"));
  ASSERT_FALSE(isOpen(file));
  struct Step {
    const char* name;
    void (*run)(DataFile&);
  };
  const Step steps[] = {
      {"read", [](DataFile& f) { EXPECT_EQ(readBytes(f, 5), ""); }},
      {"write", [](DataFile& f) { writeBytes(f, "x"); }},
      {"position", [](DataFile& f) { setPosition(f, 1); }},
      {"close", [](DataFile& f) { closeDataFile(f); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    clearLastError();
    step.run(file);
    EXPECT_NE(lastError(), 0);
  }
  DataFile opened = openDataFile(pathOf("twice.txt"));
  closeDataFile(opened);
  clearLastError();
  closeDataFile(opened);
  EXPECT_NE(lastError(), 0);
}

TEST_F(DataFileTest, AReadOnlyFileIsReadButNotWritten) {
  writeFileBytes(folder.file("ro.txt"), "read me");
  if (!test_files::makeReadOnly(folder.file("ro.txt"))) {
    GTEST_SKIP() << "this user can write a read-only file here";
  }
  DataFile file = openDataFile(pathOf("ro.txt"));
  ASSERT_TRUE(isOpen(file));
  EXPECT_TRUE(file.readOnly);
  EXPECT_EQ(readBytes(file, 4), "read");
  clearLastError();
  setPosition(file, 1);
  writeBytes(file, "XXXX");
  EXPECT_NE(lastError(), 0);
  EXPECT_EQ(file.position, 1);
  closeDataFile(file);
  test_files::makeWritable(folder.file("ro.txt"));
  EXPECT_EQ(readFileBytes(folder.file("ro.txt")), "read me");
}

}  // namespace
