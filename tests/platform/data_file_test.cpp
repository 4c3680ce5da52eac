#include "platform/data_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/last_error.h"
#include "tests/support/temp_folder.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
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

TEST_F(DataFileTest, BadPathsAreRefusedAndCreateNothing) {
  for (const Text& path : {Text(), pathOf("star*.txt"), pathOf("what?.txt"),
                           pathOf("missing\\inner.txt"), folder.text()}) {
    SCOPED_TRACE(path);
    clearLastError();
    DataFile file = openDataFile(path);
    EXPECT_FALSE(isOpen(file));
    EXPECT_NE(lastError(), 0);
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
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
