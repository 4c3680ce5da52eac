#!/usr/bin/env bash
# A first start in a fresh Wine prefix: the program makes its settings
# folder, greets before its window appears, and keeps running with its
# window and its clock alive until the test ends it.
set -u
source "$(dirname "$0")/../lib.sh"
bq_init startup "$@"

bq_setup_prefix
bq_check "a fresh prefix has no settings folder yet" test ! -e "$BQ_SETTINGS"
bq_start_xvfb
bq_start_program

bq_check "the settings folder drive_c/quillhaven is made" bq_wait_for 20 test -d "$BQ_SETTINGS"
caption=$(bq_driver wait-window 20000)
bq_check_match "the main window appears" '^BQC' "$caption"
window_ms=$(date +%s%3N)

# The greeting: one utterance, finished before the window was shown.
greeting_order='^loading .*B Q C.*Version 1\.00.*2026.*Brightquill Software.*w w w.*brightquill.*dot com.*free clock.*inspirational sayings.*poet.*semi-daily'
bq_check_match "the first thing said is the greeting, in its order" "$greeting_order" \
  "$(bq_spoken | head -n1)"
first_record=$(bq_speech_records | head -n1)
bq_check_eq "the greeting is spoken synchronously (Speak flags 0)" 0 \
  "$(echo "$first_record" | cut -d' ' -f5)"
bq_check_eq "no window of the program is visible while it greets" 00 \
  "$(echo "$first_record" | cut -d' ' -f4)"
greeting_end=$(echo "$first_record" | cut -d' ' -f2)
bq_check "the greeting has ended before the window was found" \
  test "${greeting_end:-$window_ms}" -le "$window_ms"

# Two seconds later: still running, the dialog thread answering and the
# clock thread ticking.
sleep 2
bq_check "the program is still running 2 s after its window appeared" bq_alive
bq_check "the dialog thread answers (caption read back)" \
  test "$(bq_driver wait-window 1000)" = "$caption"
samples=$(bq_driver sample 1001 1600 100)
bq_check_match "the clock thread shows the time (10 characters, a or p)" \
  '	[ 1][0-9]:[0-5][0-9]:[0-5][0-9] [ap]$' "$(echo "$samples" | tail -n1)"
bq_check "the clock thread ticks (the time box changes)" \
  test "$(echo "$samples" | wc -l)" -ge 2

# A second start while this clock runs: it ends at once with code 0 and says
# why, greets no one and writes nothing, and the first clock goes on.
settings_state() { (cd "$BQ_SETTINGS" && stat -c '%n %s %Y' * && md5sum *) 2>/dev/null; }
files=$(settings_state)
second_start=$(date +%s%3N)
(cd "$BQ_OUT" && exec timeout 5 wine "$BQ_EXE" >"$BQ_OUT/second.log" 2>&1)
second_code=$?
second_ms=$(($(date +%s%3N) - second_start))
bq_check_eq "a second brightquill.exe ends with code 0" 0 "$second_code"
bq_check "it ends within 2 s ($second_ms ms)" test "$second_ms" -le 2000
bq_check_eq "it says why" "brightquill: Brightquill is already running" "$(cat "$BQ_OUT/second.log")"
bq_check_eq "the settings files are unchanged" "$files" "$(settings_state)"
bq_check "the first window still answers" test "$(bq_driver wait-window 1000)" = "$caption"
bq_check "nothing else was said" test "$(bq_spoken | wc -l)" -eq 1

# What Explorer, the taskbar and Alt+Tab show of the program: the exe's
# version information and icon, and the window's own icons.
version=$(bq_driver version-info)
while IFS='|' read -r name expected; do
  bq_check_eq "version information: $name" "$expected" \
    "$(echo "$version" | sed -n "s/^$name	//p")"
done <<'EOF'
FileVersion (number)|1.0.0.0
ProductVersion (number)|1.0.0.0
CompanyName|Brightquill Software
FileDescription|Brightquill talking alarm clock
FileVersion|1.00
LegalCopyright|(C) 2026 Brightquill Software
OriginalFilename|brightquill.exe
ProductName|Brightquill
ProductVersion|1.00
EOF
icons=$(bq_driver icon-group)
bq_check_eq "the exe's icon holds 16, 32, 48 and 256 px images" "16x16 32x32 48x48 256x256" \
  "$(echo "$icons" | cut -f1 | sort -n | paste -sd' ')"
bq_check_eq "every image of the icon is in the exe" "present" "$(echo "$icons" | cut -f3 | sort -u)"
bq_check_eq "the main window has the program's icon, large and small" \
  "$(printf 'big\t32x32\nsmall\t16x16')" "$(bq_driver window-icons)"
manifest=$(bq_driver manifest)
bq_check_match "the manifest runs the program as its invoker" 'level="asInvoker"' "$manifest"
bq_check_eq "the manifest names Windows 7, 8, 8.1 and 10/11" 4 \
  "$(echo "$manifest" | grep -c '<supportedOS ')"
bq_check_eq "the manifest keeps the classic controls and no DPI awareness" "" \
  "$(echo "$manifest" | grep -io 'Microsoft.Windows.Common-Controls\|<dpiAware')"

# The test ends the program by its PID; nothing of the prefix is left.
pid=$BQ_PID
bq_check_match "the program is one of the prefix's Wine processes" "(^|[^0-9])$pid([^0-9]|\$)" \
  "$(bq_prefix_processes | tr '\n' ' ')"
bq_stop_program
bq_check "the program's process is gone" test ! -d "/proc/$pid"
bq_check_eq "no Wine process of the prefix is left" "" "$(bq_prefix_processes)"

# Another user's clock holds c:\quillhaven's lock file (the driver, as Wine has one
# session): a start says so in a message box, holding nothing meanwhile, so
# that the next start runs once the other clock has gone.
bq_set_voice_ms 6000
(bq_driver hold-file 8 'c:\quillhaven\brightquill.lock' >"$BQ_OUT/held.log") &
holder=$!
bq_check "another user's clock holds the folder" bq_wait_for 20 grep -q held "$BQ_OUT/held.log"
(cd "$BQ_OUT" && exec timeout 60 wine "$BQ_EXE" >"$BQ_OUT/refused.log" 2>&1) &
refused=$!
box() { BQ_DRIVER_CAPTION=Brightquill bq_driver "$@"; }
bq_check_eq "a start beside it shows a message box" Brightquill "$(box wait-window 20000)"
bq_check_match "which says that another user runs Brightquill" 'running for another user' "$(box info)"
wait "$holder"
spoken=$(bq_spoken | wc -l)
bq_start_program
# During its greeting (the voice comes after the lock), with no window yet: no box.
bq_check "it greets" bq_wait_for 20 grep -q recording_voice "/proc/$BQ_PID/maps"
(cd "$BQ_OUT" && exec timeout 10 wine "$BQ_EXE" >"$BQ_OUT/greeting.log" 2>&1)
bq_check_eq "a start during the greeting ends with code 0 and no box" "0 $spoken" "$? $(bq_spoken | wc -l)"
bq_check_eq "the start after the other clock has gone runs" "$caption running" \
  "$(bq_driver wait-window 20000) $(bq_alive && echo running)"
box close
wait "$refused"
bq_check_eq "the message box closes with code 0" 0 "$?"
bq_check_eq "and says why" "brightquill: Brightquill is already running" "$(cat "$BQ_OUT/refused.log")"
bq_stop_program

bq_finish
