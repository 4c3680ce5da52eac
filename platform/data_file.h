#pragma once
// Raw-byte data files: opened read-write without sharing, created when
// missing, never truncated; positions from 1; every call goes straight to
// the system, nothing is buffered.
#include <cstdint>

#include "platform/text.h"

struct DataFile {
  std::intptr_t handle = -1;  // -1: closed
  std::int64_t position = 1;
  bool endOfFile = false;
  bool readOnly = false;  // opened for reading only: writes write nothing
};

// Read-write, falling back to read-only; stays closed when neither works.
DataFile openDataFile(const Text& path);
void setPosition(DataFile& file, std::int64_t position);
Text readBytes(DataFile& file, std::int64_t count);
void writeBytes(DataFile& file, const Text& bytes);
void closeDataFile(DataFile& file);
