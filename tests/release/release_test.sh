#!/usr/bin/env bash
# What a user downloads: scripts/release.sh, run from scratch into a folder
# of the test's own, gives two archives that hold exactly their files, with
# checksums that match; the exe is stripped and keeps its version
# information and icon; README.txt reads well in Notepad.
set -u
source "$(dirname "$0")/../e2e/lib.sh"
out=$(mkdir -p "${1:?an output folder}" && cd "$1" && pwd)
BQ_SCENARIO=release BQ_CHECKS=0 BQ_FAILURES=0
rm -rf "$out/dist" "$out/unpacked"
mkdir -p "$out/unpacked"

started=$(date +%s)
if ! scripts/release.sh "$out/dist" >"$out/release.log" 2>&1; then
  tail -n 30 "$out/release.log"
  echo "== release: scripts/release.sh failed (log: $out/release.log)"
  exit 1
fi
echo "   scripts/release.sh took $(($(date +%s) - started)) s"

zip=$out/dist/brightquill-1.00-windows-x64.zip
tarball=$out/dist/brightquill-1.00-linux-x64.tar.gz
bq_check_eq "the Windows archive holds exactly brightquill.exe and README.txt" \
  "README.txt brightquill.exe" "$(unzip -Z1 "$zip" | sort | paste -sd' ')"
bq_check_eq "the Linux archive holds exactly the program, its desktop entry and its icon" \
  "bin/brightquill share/applications/brightquill.desktop share/icons/hicolor/scalable/apps/brightquill.svg" \
  "$(tar -tzf "$tarball" | sort | paste -sd' ')"
bq_check "both archives match their SHA-256 files" \
  bash -c 'cd "$1" && sha256sum --quiet -c ./*.sha256' _ "$out/dist"

unzip -q "$zip" -d "$out/unpacked/windows"
exe=$out/unpacked/windows/brightquill.exe
readme=$out/unpacked/windows/README.txt
bq_check_match "the exe is stripped" "no symbols" "$(x86_64-w64-mingw32-nm "$exe" 2>&1)"
resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null)
bq_check_match "the stripped exe keeps its version information" \
  'VALUE "FileDescription", "Brightquill talking alarm clock"' "$resources"
bq_check_match "the stripped exe keeps its icon" 'RT_GROUP_ICON' "$resources"
bq_check_eq "every line of README.txt ends with CR LF" "" "$(grep -v $'\r$' "$readme")"
bq_check_match "README.txt names the settings folder" 'c:\\quillhaven' "$(cat "$readme")"

tar -xzf "$tarball" -C "$out/unpacked"
program=$out/unpacked/bin/brightquill
bq_check "the Linux program is executable" test -x "$program"
bq_check_eq "the Linux program is stripped" "" "$(readelf -S "$program" | grep -o '\.symtab')"

bq_finish
