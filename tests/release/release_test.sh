#!/usr/bin/env bash
# What a user downloads: scripts/release.sh, run from scratch into a folder
# of the test's own, gives the installer, the two archives and the Debian
# package, each holding exactly its files, with checksums that match; the
# exe is stripped and keeps its version information and icon; the texts read
# well in Notepad; the Debian package passes lintian and its desktop entry
# and metainfo their validators. Then the installer is tried under Wine and
# the package in a fresh Debian root (msi_under_wine.sh, deb_fresh_root.sh).
# Usage: release_test.sh OUTPUT_FOLDER WINDOWS_BUILD_DIR
set -u
source "$(dirname "$0")/../e2e/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
out=$(mkdir -p "${1:?an output folder}" && cd "$1" && pwd)
windows_build=${2:?the Windows build folder}
BQ_SCENARIO=release BQ_CHECKS=0 BQ_FAILURES=0
rm -rf "$out/dist" "$out/unpacked"
mkdir -p "$out/unpacked"

started=$(date +%s)
# 2 min here from scratch; the limit is part of the test's own in CMake.
if ! timeout 600 scripts/release.sh "$out/dist" >"$out/release.log" 2>&1; then
  tail -n 30 "$out/release.log"
  echo "== release: scripts/release.sh failed (log: $out/release.log)"
  exit 1
fi
echo "   scripts/release.sh took $(($(date +%s) - started)) s"
(cd "$out/dist" && ls -l)

msi=$out/dist/brightquill-1.00-x64.msi
zip=$out/dist/brightquill-1.00-windows-x64.zip
tarball=$out/dist/brightquill-1.00-linux-x64.tar.gz
deb=$out/dist/brightquill_1.0.0-1_amd64.deb
bq_check_eq "the Windows archive holds exactly the exe and its three texts" \
  "LICENSE.txt NOTICES.txt README.txt brightquill.exe" "$(unzip -Z1 "$zip" | sort | paste -sd' ')"
linux_files="bin/brightquill share/applications/com.brightquill.Brightquill.desktop
share/doc/brightquill/LICENSE share/doc/brightquill/README
share/icons/hicolor/48x48/apps/brightquill.png share/icons/hicolor/scalable/apps/brightquill.svg
share/man/man1/brightquill.1.gz share/metainfo/com.brightquill.Brightquill.metainfo.xml"
bq_check_eq "the Linux archive holds exactly the program and its files for /usr/local" \
  "$(echo $linux_files)" "$(tar -tzf "$tarball" | sort | paste -sd' ')"
bq_check_eq "SHA256SUMS lists the four downloads" \
  "$(printf '%s\n' "${msi##*/}" "${zip##*/}" "${tarball##*/}" "${deb##*/}" | sort | paste -sd' ')" \
  "$(awk '{ print $2 }' "$out/dist/SHA256SUMS" | sort | paste -sd' ')"
bq_check "each matches its checksum" \
  bash -c 'cd "$1" && sha256sum --quiet -c SHA256SUMS' _ "$out/dist"

echo "== The Windows archive"
unzip -q "$zip" -d "$out/unpacked/windows"
exe=$out/unpacked/windows/brightquill.exe
readme=$out/unpacked/windows/README.txt
bq_check_match "the exe is stripped" "no symbols" "$(x86_64-w64-mingw32-nm "$exe" 2>&1)"
resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null)
bq_check_match "the stripped exe keeps its version information" \
  'VALUE "FileDescription", "Brightquill talking alarm clock"' "$resources"
bq_check_match "the stripped exe keeps its icon" 'RT_GROUP_ICON' "$resources"
bq_check_eq "every line of the texts ends with CR LF" "" \
  "$(grep -v $'\r$' "$out/unpacked/windows/"*.txt 2>&1)"
bq_check_match "README.txt names the settings folder" 'c:\\quillhaven' "$(cat "$readme")"
# The lowest supportedOS of the manifest is Windows 7.
bq_check_match "README.txt names the lowest Windows the manifest declares" \
  'Windows 7 or later' "$(cat "$readme")"
bq_check_match "LICENSE.txt is the MIT licence of Brightquill Software" \
  'Copyright \(c\) 2026 Brightquill Software' "$(cat "$out/unpacked/windows/LICENSE.txt")"
notices=$(cat "$out/unpacked/windows/NOTICES.txt")
bq_check_match "NOTICES.txt holds the GCC runtime library exception" \
  'GCC RUNTIME LIBRARY EXCEPTION' "$notices"
bq_check_match "and the licence of winpthreads" 'winpthreads.*' "$notices"

echo "== The Windows installer"
property() { msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' -v name="$1" '$1 == name { print $2 }'; }
bq_check_eq "its publisher" "Brightquill Software" "$(property Manufacturer)"
bq_check_eq "its version" 1.0.0 "$(property ProductVersion)"
bq_check_match "a newer version replaces it (major upgrade)" "RemoveExistingProducts" \
  "$(msiinfo export "$msi" InstallExecuteSequence)"
# The release's time, not the build's: a build a second later is the same.
epoch=${SOURCE_DATE_EPOCH:-$(git -c safe.directory="$PWD" log -1 --format=%ct)}
bq_check_eq "its summary dates are the release's" \
  "$(TZ=UTC LC_ALL=C date -d "@$epoch" '+%a %b %e %H:%M:%S %Y' |
    sed 's/^/Created: /; p; s/Created/Last saved/')" \
  "$(TZ=UTC LC_ALL=C msiinfo suminfo "$msi" | grep -E '^(Created|Last saved):')"
mkdir -p "$out/unpacked/msi"
msiextract -C "$out/unpacked/msi" "$msi" >/dev/null
bq_check_eq "it installs the zip's exe" "$(sha256sum <"$exe")" \
  "$(sha256sum <"$out/unpacked/msi/Brightquill/brightquill.exe")"

echo "== The Linux archive"
tar -xzf "$tarball" -C "$out/unpacked"
program=$out/unpacked/bin/brightquill
bq_check "the Linux program is executable" test -x "$program"
bq_check "the Linux program is stripped" \
  bash -c 'sections=$(readelf -S "$1") && ! grep -q "\.symtab" <<<"$sections"' _ "$program"

echo "== The Debian package"
control=$(dpkg-deb -f "$deb")
depends=$(echo "$control" | grep '^Depends:')
bq_check_match "its Depends: the window's library" 'libgtk-3-0 ' "$depends"
bq_check_match "and the voice's" 'libespeak-ng1 ' "$depends"
bq_check_match "and the desktop notices'" 'libnotify4 ' "$depends"
bq_check_match "and a Liberation font, netbase, the voice's data and the theme's SVG loader" \
  'fonts-liberation2 \| fonts-liberation, netbase, espeak-ng-data, librsvg2-common' "$depends"
mkdir -p "$out/unpacked/deb"
dpkg-deb -x "$deb" "$out/unpacked/deb"
share=$out/unpacked/deb/usr/share
manual=$(zcat "$share/man/man1/brightquill.1.gz")
bq_check_match "the man page is gzipped and documents the command line" \
  '^\.B \\-\\-autostart on$' "$manual"
bq_check_match "and where the settings live" '^\.I \$XDG_CONFIG_HOME/quillhaven/$' "$manual"
bq_check_match "and the exit code of a display it cannot open" '\.B 1 .*cannot open display.*\.B 2 ' \
  "$(tr '\n' ' ' <<<"$manual")"
bq_check_match "copyright is in the machine-readable format and names the licence" \
  '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/.*License: Expat' \
  "$(tr '\n' ' ' <"$share/doc/brightquill/copyright")"
bq_check_match "copyright names the GCC runtime library exception" \
  'GCC Runtime Library Exception' "$(cat "$share/doc/brightquill/copyright")"
# Root has to be told it may run lintian; the package is looked at, not run.
lintian --allow-root --fail-on error,warning --info "$deb" >"$out/lintian.log" 2>&1
bq_check_eq "lintian finds no error and no warning" 0 "$?"
sed 's/^/        /' "$out/lintian.log"
# What is overridden, and why, for the log (shown overrides count as
# failures to --fail-on, so this run is only read).
lintian --allow-root --show-overrides "$deb" 2>&1 | sed 's/^/        /'
desktop=$share/applications/com.brightquill.Brightquill.desktop
bq_check "desktop-file-validate passes" desktop-file-validate "$desktop"
bq_check_eq "the desktop entry has the two sign-in actions" \
  "Exec=brightquill --autostart on|Exec=brightquill --autostart off" \
  "$(grep '^Exec=brightquill --' "$desktop" | paste -sd'|')"
bq_check "appstreamcli validate --no-net passes" \
  appstreamcli validate --no-net "$share/metainfo/com.brightquill.Brightquill.metainfo.xml"
bq_finish
static=$?

bash "$here/msi_under_wine.sh" "$windows_build" "$msi"
msi_status=$?
bash "$here/deb_fresh_root.sh" "$deb" "$out/fresh-root"
deb_status=$?
[ "$static" -eq 0 ] && [ "$msi_status" -eq 0 ] && [ "$deb_status" -eq 0 ]
