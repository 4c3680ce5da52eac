#include "platform/data_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/last_error.h"
#include "platform/platform_lock.h"
#include "platform/posix/file_lock.h"
#include "platform/posix/native_path.h"

namespace {

// Files this process holds open, by device and inode. Windows refuses a
// second open of a file opened without sharing; a lock held through another
// descriptor of the same process would not show that, so the process keeps
// its own list. Guarded by the platform lock.
using FileIdentity = std::pair<dev_t, ino_t>;
std::set<FileIdentity>& openFiles() {
  static std::set<FileIdentity> files;
  return files;
}

// Fails for a folder, which is no data file.
bool identityOf(int descriptor, FileIdentity& identity) {
  struct stat status;
  if (fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) return false;
  identity = {status.st_dev, status.st_ino};
  return true;
}

// Opens, takes the file for this process alone (and, with flock, from other
// processes too), or closes it again. Returns the descriptor or -1.
int openExclusively(const std::string& native, int flags, int& failure) {
  const int descriptor = open(native.c_str(), flags | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    failure = errno;
    return -1;
  }
  FileIdentity identity;
  if (!identityOf(descriptor, identity) || openFiles().count(identity) != 0 ||
      lockedElsewhere(descriptor)) {
    failure = EBUSY;
    close(descriptor);
    return -1;
  }
  openFiles().insert(identity);
  return descriptor;
}

bool isOpen(const DataFile& file) { return file.handle >= 0; }
int descriptorOf(const DataFile& file) { return static_cast<int>(file.handle); }

}  // namespace

DataFile openDataFile(const Text& path) {
  DataFile file;
  // Wildcards count in the program's own path only, as for folders: the
  // folder that stands for the drive may hold any character.
  const std::string native = nativePath(path);
  if (native.empty() || path.find_first_of("*?") != Text::npos) {
    setLastError(EINVAL);
    return file;
  }
  PlatformCallLock hold;
  int failure = 0;
  int descriptor = openExclusively(native, O_RDWR | O_CREAT, failure);
  if (descriptor < 0 && failure != EBUSY) {
    descriptor = openExclusively(native, O_RDONLY, failure);
    file.readOnly = descriptor >= 0;
  }
  if (descriptor < 0) {
    setLastError(failure);
    return file;
  }
  file.handle = descriptor;
  lseek(descriptor, 0, SEEK_SET);
  return file;
}

void setPosition(DataFile& file, std::int64_t position) {
  if (!isOpen(file)) {
    setLastError(EBADF);
    return;
  }
  off_t moved;
  {
    PlatformCallLock hold;
    // A position below 1 is a negative offset, which lseek refuses and the
    // file pointer stays where it was.
    moved = lseek(descriptorOf(file), static_cast<off_t>(position - 1), SEEK_SET);
  }
  if (moved < 0) {
    setLastError(errno);
    return;
  }
  file.position = position;
}

Text readBytes(DataFile& file, std::int64_t count) {
  Text bytes;
  if (!isOpen(file)) {
    setLastError(EBADF);
    return bytes;
  }
  constexpr std::int64_t kChunk = 65536;
  while (count > 0) {
    char buffer[kChunk];
    const std::int64_t wanted = std::min(count, kChunk);
    ssize_t got;
    int failure = 0;
    {
      PlatformCallLock hold;
      got = read(descriptorOf(file), buffer, static_cast<size_t>(wanted));
      if (got < 0) failure = errno;
    }
    if (got < 0 && failure == EINTR) continue;
    if (got < 0) {
      setLastError(failure);
      break;
    }
    bytes.append(buffer, static_cast<size_t>(got));
    file.position += got;
    count -= got;
    if (got < wanted) {
      file.endOfFile = true;
      break;
    }
  }
  return bytes;
}

void writeBytes(DataFile& file, const Text& bytes) {
  if (!isOpen(file) || file.readOnly) {
    setLastError(EBADF);
    return;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put;
    int failure = 0;
    {
      PlatformCallLock hold;
      put = write(descriptorOf(file), bytes.data() + done, bytes.size() - done);
      if (put < 0) failure = errno;
    }
    if (put < 0 && failure == EINTR) continue;
    if (put <= 0) {
      setLastError(put < 0 ? failure : EIO);
      return;
    }
    done += static_cast<std::size_t>(put);
    file.position += put;
  }
}

void closeDataFile(DataFile& file) {
  if (!isOpen(file)) {
    setLastError(EBADF);
    return;
  }
  const int descriptor = static_cast<int>(file.handle);
  file.handle = -1;
  PlatformCallLock hold;
  struct stat status;
  if (fstat(descriptor, &status) == 0) openFiles().erase({status.st_dev, status.st_ino});
  if (close(descriptor) != 0) setLastError(errno);
}
