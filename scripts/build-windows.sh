#!/usr/bin/env bash
# Builds brightquill.exe with mingw-w64 into build/windows.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"${BQ_JOBS:-2}" --target brightquill
