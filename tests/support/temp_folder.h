#pragma once
// A fresh, empty folder for one test, removed with everything in it when the
// test ends, and raw byte access to the files in it.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#if defined(__linux__)
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace test_files {

namespace fs = std::filesystem;

inline std::string readFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFileBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Whether this process could open the file for writing.
inline bool writableByUs(const fs::path& file) {
  std::FILE* handle = std::fopen(file.string().c_str(), "r+b");
  if (handle == nullptr) return false;
  std::fclose(handle);
  return true;
}

#if defined(__linux__)
// The immutable attribute also holds for root, whom missing write bits do
// not stop. Needs a file system that has it; quietly does nothing elsewhere.
inline void setImmutable(const fs::path& file, bool on) {
  const int descriptor = open(file.string().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return;
  int flags = 0;
  if (ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ioctl(descriptor, FS_IOC_SETFLAGS, &flags);
  }
  close(descriptor);
}
#endif

inline void makeWritable(const fs::path& file) {
#if defined(__linux__)
  setImmutable(file, false);
#endif
  std::error_code ignored;
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, ignored);
}

// Makes the file readable only. Returns false when that does not stop this
// process from writing it (for instance root without the immutable
// attribute); the file is then writable again.
inline bool makeReadOnly(const fs::path& file) {
  std::error_code ignored;
  fs::permissions(file,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove, ignored);
  if (!writableByUs(file)) return true;
#if defined(__linux__)
  setImmutable(file, true);
  if (!writableByUs(file)) return true;
#endif
  makeWritable(file);
  return false;
}

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = fs::temp_directory_path() /
              ("bq-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
      if (fs::create_directory(path_)) return;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
      makeWritable(entry.path());
    }
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& path() const { return path_; }
  fs::path file(const std::string& name) const { return path_ / name; }
  // The folder as the program names it.
  std::string text() const { return path_.string(); }

 private:
  fs::path path_;
};

}  // namespace test_files
