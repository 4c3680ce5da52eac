#!/usr/bin/env bash
# The Windows installer as a user meets it, in a fresh Wine prefix: installed
# quietly, the program started from where it went, start at sign-in turned on
# and off through the Start-menu shortcuts, replaced by a newer version, and
# uninstalled, which turns start at sign-in off for the user who removes it
# and leaves the user's alarms in c:\quillhaven byte for byte.
# Usage: msi_under_wine.sh WINDOWS_BUILD_DIR MSI
set -u
source "$(dirname "$0")/../e2e/lib.sh"
msi=$(realpath "$2")
bq_init release-msi "$1"
bq_setup_prefix
bq_start_xvfb

product='{375714D5-433A-434E-9528-9B3828E86DB0}'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value='"C:\Program Files\Brightquill\brightquill.exe"'  # what --autostart on writes there
# The product's registration under its packed code: the first three groups
# of the product code reversed, then the two digits of each byte swapped.
registration='HKLM\Software\Classes\Installer\Products\5D417573A334E4345982B983828ED60B'
installed=$WINEPREFIX/drive_c/Program\ Files/Brightquill

# reg_value KEY NAME: the value's data as `wine reg query` shows it, nothing
# when there is no such key or value, and what reg said when it failed.
reg_value() {
  local shown
  shown=$(wine reg query "$1" /v "$2" 2>&1) ||
    { grep -q 'Unable to find' <<<"$shown" || echo "wine reg query failed: $shown"; return; }
  tr -d '\r' <<<"$shown" |
    awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+REG_[A-Z_]+[ \t]+/, ""); print }'
}
# What c:\quillhaven holds: each file's name and SHA-256.
settings_digest() {
  (cd "$BQ_SETTINGS" 2>/dev/null && find . -type f -printf '%P\n' | sort | xargs -r sha256sum)
}
msiexec() { timeout 120 wine msiexec "$@" >>"$BQ_OUT/msiexec.log" 2>&1; }

# A user's alarms from before: A at 12:04 p.m., armed, with a text.
bq_write_settings qhsettoring1.txt 0d 05
bq_write_settings qhsettoarm.txt 41 20 20 20 20 20
bq_write_settings qhsettospeak1.txt 57 61 6b 65 20 75 70

echo "== msiexec /i /qn"
bq_check "msiexec /i ends with code 0" msiexec /i "$msi" /qn
# The Start menu of all users on Windows; Wine puts it in the user's.
menu_unix=$(find "$WINEPREFIX/drive_c" -type d -path '*/Start Menu/Programs/Brightquill' | head -n1)
menu=$(wine winepath -w "$menu_unix" 2>/dev/null | tr -d '\r')
bq_check "brightquill.exe is in Program Files\\Brightquill" test -f "$installed/brightquill.exe"
bq_check_eq "the installed exe is the one in the package" \
  "$(msiextract -C "$BQ_OUT/extracted" "$msi" >/dev/null 2>&1 &&
    sha256sum <"$(find "$BQ_OUT/extracted" -name brightquill.exe | head -n1)")" \
  "$(sha256sum <"$installed/brightquill.exe")"
bq_check_eq "README, licence and notices are beside it" "LICENSE.txt NOTICES.txt README.txt" \
  "$(cd "$installed" && ls -- *.txt | paste -sd' ')"
bq_check_eq "the Start-menu folder holds the three shortcuts" \
  "Brightquill.lnk|Do not start Brightquill when I sign in.lnk|Start Brightquill when I sign in.lnk" \
  "$(cd "$menu_unix" 2>/dev/null && ls | sort | paste -sd'|')"
bq_check_eq "the uninstall entry's name" Brightquill "$(reg_value "$uninstall_key\\$product" DisplayName)"
bq_check_eq "the uninstall entry's publisher" "Brightquill Software" \
  "$(reg_value "$uninstall_key\\$product" Publisher)"
bq_check_eq "the uninstall entry's version" 1.0.0 "$(reg_value "$uninstall_key\\$product" DisplayVersion)"
# The list of installed programs shows an installed package's icon from
# the copy that the installer keeps.
icon=$(reg_value "$registration" ProductIcon)
bq_check_eq "the entry's icon is the program's" "$(sha256sum <app/icon/brightquill.ico)" \
  "$(sha256sum <"$(wine winepath -u "$icon" 2>/dev/null)")"

echo "== The installed exe starts and shows its window"
BQ_EXE=$installed/brightquill.exe
bq_start_program
caption=$(bq_driver wait-window 30000)
bq_check_eq "its window" "BQC (www.brightquill.com) v1.00  (C) 2026 Brightquill Software" "$caption"
bq_stop_program
alarms_before=$(settings_digest)

echo "== The Start-menu shortcuts turn start at sign-in on and off"
# Started as Explorer starts them: the shortcut itself, with its arguments.
# Wine's `start /wait` does not wait for a shortcut's program, so the
# shortcut's brightquill.exe is waited for before anything is read.
no_brightquill_runs() {
  local pid
  for pid in $(bq_prefix_processes); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qi 'brightquill\.exe' && return 1
  done
  return 0
}
open_shortcut() {
  timeout 60 wine start /wait "$menu\\$1.lnk" >>"$BQ_OUT/start.log" 2>&1
  bq_wait_for 30 no_brightquill_runs ||
    echo "   brightquill.exe from \"$1\" still runs after 30 s"
}
open_shortcut "Start Brightquill when I sign in"
bq_check_eq "the Run value starts the installed exe" "$run_value" "$(reg_value "$run_key" Brightquill)"
open_shortcut "Do not start Brightquill when I sign in"
bq_check_eq "the Run value is gone again" "" "$(reg_value "$run_key" Brightquill)"
bq_check_eq "neither started the clock: no window, no alarm touched" "$alarms_before" "$(settings_digest)"

echo "== A newer version replaces this one"
# The same package under version 1.0.1 with a product code of its own, as
# the next release would be; the upgrade code stays.
newer=$BQ_OUT/brightquill-newer.msi
mkdir -p "$BQ_OUT/newer"
msiextract -C "$BQ_OUT/newer" "$msi" >/dev/null 2>&1
cp "$(find "$BQ_OUT/newer" -name brightquill.exe | head -n1)" "$BQ_OUT/newer/"
for file in README.txt LICENSE.txt NOTICES.txt; do
  cp "$(find "$BQ_OUT/newer" -name "$file" | head -n1)" "$BQ_OUT/newer/"
done
cp app/icon/brightquill.ico "$BQ_OUT/newer/"
sed -e 's/Version="1.0.0"/Version="1.0.1"/' \
  -e 's/Product Id="375714D5-433A-434E-9528-9B3828E86DB0"/Product Id="800E39E2-FFCF-43B9-B61D-037C8D9E3846"/' \
  packaging/windows/brightquill.wxs >"$BQ_OUT/newer/newer.wxs"
(cd "$BQ_OUT/newer" && wixl -a x64 -D Source=. -o "$newer" newer.wxs >/dev/null 2>&1)
bq_check "msiexec /i of the newer version ends with code 0" msiexec /i "$newer" /qn
bq_check_eq "the older version's entry is gone" "" "$(reg_value "$uninstall_key\\$product" DisplayName)"
bq_check_eq "the newer version's entry is there" 1.0.1 \
  "$(reg_value "$uninstall_key\\{800E39E2-FFCF-43B9-B61D-037C8D9E3846}" DisplayVersion)"
bq_check "the exe is still installed" test -f "$installed/brightquill.exe"
bq_check "msiexec /x of the newer version ends with code 0" msiexec /x "$newer" /qn

echo "== msiexec /x /qn"
# The original once more, to remove it as a user would.
bq_check "msiexec /i ends with code 0 again" msiexec /i "$msi" /qn
open_shortcut "Start Brightquill when I sign in"
bq_check_eq "start at sign-in is on again" "$run_value" "$(reg_value "$run_key" Brightquill)"
bq_check "msiexec /x ends with code 0" msiexec /x "$msi" /qn
bq_check_eq "the remover's Run value is gone with the exe" "" "$(reg_value "$run_key" Brightquill)"
bq_check "brightquill.exe is gone" test ! -e "$installed/brightquill.exe"
bq_check "Program Files\\Brightquill is gone" test ! -e "$installed"
bq_check "the Start-menu folder and its shortcuts are gone" test ! -e "$menu_unix"
bq_check_eq "the installer's copy of the icon is gone" "" "$(reg_value "$registration" ProductIcon)"
bq_check_eq "the uninstall entry is gone" "" "$(reg_value "$uninstall_key\\$product" DisplayName)"
bq_check_eq "c:\\quillhaven keeps every byte" "$alarms_before" "$(settings_digest)"

bq_finish
