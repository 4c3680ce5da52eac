#!/usr/bin/env bash
# Builds the release from scratch, in build folders of its own, and writes
# into dist/ (or the folder given as the first argument):
#   brightquill-1.00-windows-x64.zip     brightquill.exe (stripped), README.txt
#   brightquill-1.00-linux-x64.tar.gz    bin/, share/ for /usr/local
# each with its SHA-256 beside it (.sha256, as sha256sum -c reads it).
# File times and the exe's link time come from SOURCE_DATE_EPOCH or the last
# commit, so that building the same sources again gives the same archives.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

version=1.00
dist=$(mkdir -p "${1:-dist}" && cd "${1:-dist}" && pwd)
work=$PWD/build/release
jobs=${BQ_JOBS:-2}
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH=$epoch  # strip writes it as the exe's link time
export TZ=UTC                    # zip keeps local times

if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
  echo "Note: the work tree has changes that are not committed; they are built too." >&2
fi
# Nothing of an earlier run is left to be taken for this one's.
rm -rf "$work"
rm -f "$dist"/brightquill-"$version"-*
mkdir -p "$work"

# Writes NAME.sha256 beside the archive NAME in $dist.
write_checksum() {
  (cd "$dist" && sha256sum "$1" >"$1.sha256")
}

windows_release() {
  local name=brightquill-$version-windows-x64.zip
  local build=$work/windows stage=$work/windows-stage
  echo "== Windows: $name"
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$build" -j"$jobs" --target brightquill
  mkdir -p "$stage"
  x86_64-w64-mingw32-strip -o "$stage/brightquill.exe" "$build/brightquill.exe"
  sed 's/\r*$/\r/' docs/release/README.txt >"$stage/README.txt"  # CRLF for Notepad
  touch -d "@$epoch" "$stage/brightquill.exe" "$stage/README.txt"
  (cd "$stage" && zip -q -X "$dist/$name" brightquill.exe README.txt)
  write_checksum "$name"
}

linux_release() {
  local name=brightquill-$version-linux-x64.tar.gz
  local build=$work/linux stage=$work/linux-stage
  local files=(bin/brightquill share/applications/brightquill.desktop
    share/icons/hicolor/scalable/apps/brightquill.svg)
  echo "== Linux: $name"
  cmake -S . -B "$build" -DBQ_DESKTOP=ON -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$build" -j"$jobs" --target brightquill
  DESTDIR=$stage cmake --install "$build" --prefix /usr/local >/dev/null
  local root=$stage/usr/local file
  for file in "${files[@]}"; do
    [ -f "$root/$file" ] || { echo "the install gave no $file" >&2; return 1; }
  done
  local installed expected
  installed=$(cd "$root" && find . -type f -printf '%P\n' | sort)
  expected=$(printf '%s\n' "${files[@]}" | sort)
  if [ "$installed" != "$expected" ]; then
    echo "the install gave files the archive would not hold:" >&2
    comm -23 <(echo "$installed") <(echo "$expected") >&2
    return 1
  fi
  strip "$root/bin/brightquill"
  chmod 755 "$root/bin/brightquill"
  chmod 644 "$root/share/applications/brightquill.desktop" \
    "$root/share/icons/hicolor/scalable/apps/brightquill.svg"
  # Files only, no folder entries: unpacking into /usr/local then leaves the
  # folders that are already there as they are.
  tar -C "$root" --owner=0 --group=0 --numeric-owner --mtime="@$epoch" -cf - "${files[@]}" |
    gzip -n -9 >"$dist/$name"
  write_checksum "$name"
}

windows_release
linux_release
echo "== Written to $dist:"
(cd "$dist" && ls -l brightquill-"$version"-*)
