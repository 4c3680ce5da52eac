#!/usr/bin/env bash
# The sayings site, in a world of its own where brightquill.com and
# www.brightquill.com are this machine. While the site is away, a click on
# the "Brightquill" button changes nothing and says nothing. Once the site is
# up, a click sends the four request lines, puts the page's saying into the
# "Text to Speak" box and says it; and alarm E, when it rings, fetches the
# saying for itself and announces it.
set -u
here=$(cd "$(dirname "$0")" && pwd)
net=$here/../net
source "$here/../lib.sh"
bq_in_private_network "$@"
bq_init sayings "$@"

SERVER_PID=""
stop_server() {
  if [ -n "$SERVER_PID" ]; then
    kill "$SERVER_PID" 2>/dev/null
    wait "$SERVER_PID" 2>/dev/null
    SERVER_PID=""
  fi
  return 0
}
# The server ends first, then whatever lib.sh started; the scenario's status
# is kept for bq_cleanup, and a second signal cannot cut the cleanup short.
trap 'status=$?; trap "" INT TERM; stop_server; (exit $status); bq_cleanup' EXIT

# The saying of the server's page, worked out by hand in sayings_server.py.
saying='Work &amp; rest make a   good   day.    '
request=$'GET http://www.brightquill.com/inspiration.html HTTP/1.0\r\nReferer: http://www.brightquill.com\r\nUser-Agent: Brightquill (www.brightquill.com)\r\n\r\n'
IDC_SAYING=1025
IDC_ARM_E=1026 IDC_HOUR_E=1027 IDC_MINUTE_E=1028 IDC_PM_E=1029 IDC_SET_E=1030
IDC_SPEAK_TEXT=1032
IDC_TEST=1035

# Bytes as a Python bytes literal: exact and readable, on one line.
as_chars() { python3 -c 'import sys; print(repr(sys.stdin.buffer.read()))'; }

# file_is NAME HEX: settings file NAME holds exactly these bytes.
file_is() { [ "$(bq_file_hex "$1")" = "$2" ]; }
# check_is ID STATE: the check state of control ID.
check_is() { [ "$(bq_driver get-check "$1")" = "$2" ]; }

# The window's state without the time box, which every tick rewrites.
window_state() { bq_driver info | grep -v $'^control\t1001\t'; }

# Port 80 of the site: whether anything accepts a connection.
site_answers() {
  python3 -c 'import socket,sys; s=socket.socket(); s.settimeout(2); sys.exit(s.connect_ex(("brightquill.com", 80)) != 0)'
}

bq_setup_prefix
# Wine makes its sockets in wineserver: the prefix's server must be one
# started in here (none runs for a fresh copy; make sure).
wineserver -k >/dev/null 2>&1
bq_start_xvfb
bq_start_program
caption=$(bq_driver wait-window 20000)
bq_check_match "the main window appears" '^BQC' "$caption"
bq_check "the greeting has been spoken" bq_wait_for 20 test -s "$BQ_SPEECH_LOG"

# ---- The site is away --------------------------------------------------
bq_check "nothing answers on brightquill.com:80" test "$(site_answers && echo yes)" != yes
bq_driver set-text $IDC_SPEAK_TEXT "Before the fetch" >/dev/null
before_state=$(window_state)
spoken_before=$(bq_spoken | wc -l)
bq_driver click $IDC_SAYING
# "Test" is handled after the button, on the same thread: once its text has
# been said, the button's click is over.
bq_driver click $IDC_TEST
BQ_SPOKEN_BEFORE=0 bq_check "the click on Test behind the button is handled" \
  bq_wait_spoken "Before the fetch" 30
sleep 0.5
bq_check_eq "with the site away, only the Test text was said" "Before the fetch" \
  "$(bq_spoken | tail -n +$((spoken_before + 1)))"
bq_check_eq "with the site away, the text box keeps its text" "Before the fetch" \
  "$(bq_driver get-text $IDC_SPEAK_TEXT)"
bq_check_eq "with the site away, the window is as it was" "$before_state" "$(window_state)"
test_thread=$(bq_speech_records | tail -n1 | cut -d' ' -f3)

# ---- The site is up ----------------------------------------------------
python3 "$net/sayings_server.py" --port 80 --log-dir "$BQ_OUT/requests" \
  --ready "$BQ_OUT/server-ready" >"$BQ_OUT/server.log" 2>&1 &
SERVER_PID=$!
bq_check "the sayings server listens on port 80" bq_wait_for 10 test -s "$BQ_OUT/server-ready"

spoken_before=$(bq_spoken | wc -l)
bq_driver click $IDC_SAYING
shown=$(bq_driver wait-text $IDC_SPEAK_TEXT "$saying" 30000)
bq_check_eq "the saying appears in the text box" "$saying" "$shown"
BQ_SPOKEN_BEFORE=0 bq_check "the saying is spoken" bq_wait_spoken "$saying" 10
sleep 0.5
bq_check_eq "the saying is the only thing said for the click" "$saying" \
  "$(bq_spoken | tail -n +$((spoken_before + 1)))"
record=$(bq_speech_records | tail -n1)
bq_check_eq "the saying is spoken synchronously (Speak flags 0)" 0 "$(echo "$record" | cut -d' ' -f5)"
bq_check_eq "the saying is spoken on the window's thread, like Test" "$test_thread" \
  "$(echo "$record" | cut -d' ' -f3)"

bq_check "the server has logged the connection" \
  bq_wait_for 10 test -f "$BQ_OUT/requests/request-1.bin"
bq_check_eq "the server saw exactly the four request lines, CR LF each" \
  "$(printf '%s' "$request" | as_chars)" "$(as_chars <"$BQ_OUT/requests/request-1.bin")"
bq_check_eq "the server saw one connection" "request-1.bin" "$(ls "$BQ_OUT/requests")"
bq_check "the request has no Host header" \
  test "$(grep -aci '^host:' "$BQ_OUT/requests/request-1.bin")" -eq 0

# ---- Alarm E rings -----------------------------------------------------
# E is set for a coming minute and armed; its ring fetches the saying on a
# connection of its own, on the clock thread, and announces it. Setting and
# arming take a Wine process each, so the minute leaves 40 s for them even
# on a busy machine.
ring_minute=$(bq_coming_minute 40)
hour=$((10#${ring_minute%:*}))
minute=$((10#${ring_minute#*:}))
bq_driver set-text $IDC_HOUR_E $((hour % 12 == 0 ? 12 : hour % 12))
bq_driver set-text $IDC_MINUTE_E $minute
if [ "$hour" -ge 12 ]; then
  bq_driver click $IDC_PM_E
  bq_wait_for 5 check_is $IDC_PM_E 1
fi
bq_driver click $IDC_SET_E
ring_bytes="$(printf '%02x %02x' $((hour + 1)) $((minute + 1)))"
bq_check "'set' E stores $ring_minute" \
  bq_wait_for 5 file_is qhsettoring5.txt "$ring_bytes"
bq_driver click $IDC_ARM_E
bq_check "E is armed" bq_wait_for 5 file_is qhsettoarm.txt "20 20 20 20 41 20"
bq_driver set-text $IDC_SPEAK_TEXT "Before E rings" >/dev/null

BQ_SPOKEN_BEFORE=1 bq_check "alarm E, armed for $ring_minute, announces the saying" \
  bq_wait_spoken "$saying" 140
record=$(bq_speech_records | grep -F -- " $saying" | sed -n 2p)
bq_check_match "it was announced in the first 5 s of $ring_minute" "^$ring_minute:0[0-4]\$" \
  "$(date -d "@$(($(echo "$record" | cut -d' ' -f1) / 1000))" +%H:%M:%S)"
bq_check "it was announced by the clock, not the window's thread" \
  test "$(echo "$record" | cut -d' ' -f3)" != "$test_thread"
bq_check_eq "the saying is in the text box" "$saying" "$(bq_driver get-text $IDC_SPEAK_TEXT)"
bq_check "the server has logged a second connection" \
  bq_wait_for 10 test -f "$BQ_OUT/requests/request-2.bin"
bq_check_eq "E's fetch sent the same four request lines" \
  "$(printf '%s' "$request" | as_chars)" "$(as_chars <"$BQ_OUT/requests/request-2.bin")"
bq_check_eq "nothing else was fetched" "request-1.bin request-2.bin" \
  "$(ls "$BQ_OUT/requests" | tr '\n' ' ' | sed 's/ $//')"
bq_check "alarm E has no text file" test ! -e "$BQ_SETTINGS/qhsettospeak5.txt"

bq_check "the program still runs" bq_alive
bq_finish
