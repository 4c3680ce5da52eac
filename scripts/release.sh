#!/usr/bin/env bash
# Builds the release from scratch, in build folders of its own, and writes
# into dist/ (or the folder given as the first argument):
#   brightquill-1.00-x64.msi             the Windows installer
#   brightquill-1.00-windows-x64.zip     brightquill.exe (stripped) and its texts
#   brightquill_1.0.0-1_amd64.deb        the Debian and Ubuntu package
#   brightquill-1.00-linux-x64.tar.gz    bin/, share/ for /usr/local
#   SHA256SUMS                           as sha256sum -c reads it
# File times, the exe's link time and the installer's dates come from
# SOURCE_DATE_EPOCH or the last commit, so that building the same sources
# again gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

version=1.00
deb_version=1.0.0-1
msi_name=brightquill-$version-x64.msi
zip_name=brightquill-$version-windows-x64.zip
deb_name=brightquill_${deb_version}_amd64.deb
tarball_name=brightquill-$version-linux-x64.tar.gz
dist=$(mkdir -p "${1:-dist}" && cd "${1:-dist}" && pwd)
work=$PWD/build/release
jobs=${BQ_JOBS:-2}
# The checkout may belong to another user, as when it is bound into a root.
last_commit_time() { git -c safe.directory="$PWD" log -1 --format=%ct 2>/dev/null; }
epoch=${SOURCE_DATE_EPOCH:-$(last_commit_time || true)}
if [ -z "$epoch" ]; then
  echo "Note: no commit to take the release's time from; the archives carry today's." >&2
  epoch=$(date +%s)
fi
export SOURCE_DATE_EPOCH=$epoch  # strip and dpkg-deb write it as their times
export TZ=UTC                    # zip keeps local times
export LC_ALL=C.UTF-8            # sorting and tools' messages

if [ -n "$(git -c safe.directory="$PWD" status --porcelain 2>/dev/null)" ]; then
  echo "Note: the work tree has changes that are not committed; they are built too." >&2
fi
# Nothing of an earlier run is left to be taken for this one's.
rm -rf "$work"
rm -f "$dist/$msi_name" "$dist/$zip_name" "$dist/$deb_name" "$dist/$tarball_name" "$dist/SHA256SUMS"
mkdir -p "$work"

# Text for Notepad: CR LF line ends.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

# ---- Windows -------------------------------------------------------------

windows_stage=$work/windows-stage

windows_build() {
  local build=$work/windows
  echo "== Windows: brightquill.exe"
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$build" -j"$jobs" --target brightquill
  mkdir -p "$windows_stage"
  x86_64-w64-mingw32-strip -o "$windows_stage/brightquill.exe" "$build/brightquill.exe"
  crlf docs/release/README.txt "$windows_stage/README.txt"
  crlf LICENSE "$windows_stage/LICENSE.txt"
  crlf docs/release/NOTICES-windows.txt "$windows_stage/NOTICES.txt"
  touch -d "@$epoch" "$windows_stage"/*
}

windows_zip() {
  echo "== Windows: $zip_name"
  (cd "$windows_stage" && zip -q -X "$dist/$zip_name" brightquill.exe README.txt LICENSE.txt NOTICES.txt)
}

# A GUID made from the bytes of the given files, in the form of a name-based
# one: the same files give the same GUID.
content_guid() {
  local hash variant
  hash=$(cat "$@" | sha256sum | cut -c1-32 | tr a-f A-F)
  variant=$(printf '%X' $(((0x${hash:16:1} & 3) | 8)))
  echo "{${hash:0:8}-${hash:8:4}-5${hash:13:3}-$variant${hash:17:3}-${hash:20:12}}"
}

windows_msi() {
  local wxs=$PWD/packaging/windows/brightquill.wxs msi=$work/$msi_name
  echo "== Windows: $msi_name"
  cp app/icon/brightquill.ico "$windows_stage/"
  # wixl writes the time of the build into the package's summary and draws
  # its package code at random: the time is frozen at the release's, and the
  # code is set afterwards from what goes in and what builds it. Two builds
  # are then the same.
  local when
  when=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')
  (cd "$windows_stage" && faketime -f "$when" wixl -a x64 -D Source=. -o "$msi" "$wxs")
  # The code covers the tools too: another version of them lays the same
  # files out in other bytes, which must not share the code.
  local tools code
  tools=$(dpkg-query -W -f='${Package} ${Version}\n' wixl wixl-data msitools libmsi0 libgcab-1.0-0)
  code=$(content_guid <(echo "$tools") "$wxs" "$windows_stage"/*)
  faketime -f "$when" msibuild "$msi" -s "Brightquill $version, a talking alarm clock" \
    "Brightquill Software" "x64;1033" "$code"
  mv "$msi" "$dist/$msi_name"
}

# ---- Linux ---------------------------------------------------------------

linux_build=$work/linux

linux_build() {
  echo "== Linux: brightquill"
  # Debian's hardening flags, without debugging information: the program is
  # stripped, and the build folder's path stays out of it.
  local cxxflags ldflags
  cxxflags="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS) $(
    DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)"
  ldflags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)
  cmake -S . -B "$linux_build" -DBQ_DESKTOP=ON -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="${cxxflags//-g /}" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
  cmake --build "$linux_build" -j"$jobs" --target brightquill
}

# What the CMake install gives under its prefix.
linux_installed=(bin/brightquill
  share/applications/com.brightquill.Brightquill.desktop
  share/icons/hicolor/48x48/apps/brightquill.png
  share/icons/hicolor/scalable/apps/brightquill.svg
  share/man/man1/brightquill.1
  share/metainfo/com.brightquill.Brightquill.metainfo.xml)

# linux_stage ROOT PREFIX: the install tree under ROOT for PREFIX, with the
# program stripped and the man page compressed, every file checked.
linux_stage() {
  local root=$1 prefix=$2
  DESTDIR=$root cmake --install "$linux_build" --prefix "$prefix" >/dev/null
  local top=$root$prefix installed expected
  installed=$(cd "$root" && find . -type f -printf '%P\n' | sort)
  expected=$(printf "${prefix#/}/%s\n" "${linux_installed[@]}" | sort)
  if [ "$installed" != "$expected" ]; then
    echo "the install tree differs from the files the packages hold:" >&2
    diff <(echo "$expected") <(echo "$installed") >&2
    return 1
  fi
  # As Debian strips programs: symbols, comments and the plain notes go.
  strip --remove-section=.comment --remove-section=.note "$top/bin/brightquill"
  gzip -n -9 "$top/share/man/man1/brightquill.1"
}

# Fixed modes and times for everything under ROOT.
normalize_tree() {
  find "$1" -type d -exec chmod 755 {} +
  find "$1" -type f -exec chmod 644 {} +
  find "$1" -type f -path '*/bin/*' -exec chmod 755 {} +
  find "$1" -exec touch -h -d "@$epoch" {} +
}

linux_tarball() {
  local root=$work/tarball-stage
  echo "== Linux: $tarball_name"
  linux_stage "$root" /usr/local
  local top=$root/usr/local
  mkdir -p "$top/share/doc/brightquill"
  cp docs/release/README-linux.txt "$top/share/doc/brightquill/README"
  cp LICENSE "$top/share/doc/brightquill/LICENSE"
  normalize_tree "$root"
  # Files only, no folder entries: unpacking into /usr/local then leaves the
  # folders that are already there as they are.
  (cd "$top" && find . -type f -printf '%P\n' | sort) >"$work/tarball-files"
  tar -C "$top" --owner=0 --group=0 --numeric-owner --mtime="@$epoch" \
    -cf - -T "$work/tarball-files" | gzip -n -9 >"$dist/$tarball_name"
}

linux_deb() {
  local stage=$work/deb-stage
  local root=$stage/root doc=$stage/root/usr/share/doc/brightquill
  echo "== Linux: $deb_name"
  linux_stage "$root" /usr
  mkdir -p "$doc" "$stage/debian" "$root/DEBIAN"
  # The machine-readable copyright ends with the licence's name; its text
  # follows from LICENSE, indented as the format wants.
  { cat packaging/debian/copyright
    sed -n '/^Permission/,$p' LICENSE | sed 's/^$/./; s/^/ /'; } >"$doc/copyright"
  gzip -n -9 <packaging/debian/changelog >"$doc/changelog.Debian.gz"
  mkdir -p "$root/usr/share/lintian/overrides"
  cp packaging/debian/lintian-overrides "$root/usr/share/lintian/overrides/brightquill"
  cp packaging/debian/control packaging/debian/changelog "$stage/debian/"
  # Depends: the libraries the program is linked with, by the packages that
  # hold them, and what control adds (a font, netbase, the voice's data).
  (cd "$stage" && dpkg-shlibdeps -Tdebian/substvars root/usr/bin/brightquill &&
    dpkg-gencontrol -pbrightquill -Proot -Tdebian/substvars)
  (cd "$root" && find . -path ./DEBIAN -prune -o -type f -printf '%P\n' | sort |
    xargs md5sum) >"$root/DEBIAN/md5sums"
  normalize_tree "$root"
  dpkg-deb --root-owner-group -Zxz --build "$root" "$dist/$deb_name" >/dev/null
}

windows_build
windows_zip
windows_msi
linux_build
linux_tarball
linux_deb
(cd "$dist" && sha256sum "$msi_name" "$zip_name" "$deb_name" "$tarball_name" >SHA256SUMS)
echo "== Written to $dist:"
(cd "$dist" && ls -l "$msi_name" "$zip_name" "$deb_name" "$tarball_name" SHA256SUMS)
