#!/usr/bin/env bash
# The program when things around it go wrong. A sayings site that trickles
# one byte every 5 s holds the window for the fetch's time limit only, and
# what arrived is shown. Settings files of random bytes load by the usual
# rules. Settings files held open by another program, or unwritable, keep
# their bytes while the edits hold in memory and the alarms ring. A plain file
# where the settings folder should be leaves the program working from memory.
# Without a speech object it starts at once and stays silent.
#
# Beside the main program two more run, each in a prefix of its own: one
# whose settings folder is a plain file, and one that waits for the
# trickling site in the background of the other stories.
set -u
here=$(cd "$(dirname "$0")" && pwd)
net=$here/../net
source "$here/../lib.sh"
bq_in_private_network "$@"
BQ_TIME_LIMIT=${BQ_TIME_LIMIT:-360} bq_init reliability "$@"

IDC_ARM_A=1003 IDC_ARM_B=1004 IDC_ARM_C=1005
IDC_HOUR_A=1007 IDC_HOUR_B=1011 IDC_HOUR_C=1015
IDC_UPDATE=1023 IDC_SAYING=1025 IDC_SPEAK_TEXT=1032 IDC_EXIT=1033 IDC_TEST=1035

declare -A PID_OF=([nofolder]="" [trickle]="")
SERVER_PID="" HOLD_PID="" ANSWER_JOB="" UNWRITABLE=()
# at NAME COMMAND...: a lib.sh helper or command, for the program of prefix NAME.
at() {
  local out=$BQ_OUT/$1 pid=${PID_OF[$1]}
  shift
  BQ_OUT=$out WINEPREFIX=$out/prefix BQ_PID=$pid BQ_SETTINGS=$out/prefix/drive_c/quillhaven \
    BQ_SPEECH_LOG=$out/prefix/drive_c/bq-e2e/speech.log "$@"
}
start_at() {
  local BQ_PID BQ_OUT=$BQ_OUT/$1
  local -x WINEPREFIX=$BQ_OUT/prefix
  bq_start_program
  PID_OF[$1]=$BQ_PID
}
cleanup() {
  local pid name
  for pid in $SERVER_PID $HOLD_PID; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  [ ${#UNWRITABLE[@]} -gt 0 ] && chattr -i "${UNWRITABLE[@]}" 2>/dev/null
  # Ending a prefix's Wine processes also ends a driver still waiting there.
  for name in "${!PID_OF[@]}"; do at "$name" bq_stop_program; done
  [ -n "$ANSWER_JOB" ] && wait "$ANSWER_JOB" 2>/dev/null
  for name in "${!PID_OF[@]}"; do at "$name" _bq_keep_results; done
}
trap 'status=$?; trap "" INT TERM; cleanup; (exit $status); bq_cleanup' EXIT

# The bytes of standard input as "41 20 41".
hex() { od -An -v -tx1 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
check_is() { [ "$(bq_driver get-check "$1")" = "$2" ]; }
twelve() { local h=$((10#${1%:*} % 12)); echo $((h == 0 ? 12 : h)); }
# set_alarm HOUR_ID HH:MM: types the time in 12-hour form into an alarm's
# row (its minute, p.m. and "set" controls follow the hour box), matches the
# p.m. box and presses "set"; returns once "set" has been handled.
set_alarm() {
  local id=$1 pm=$((10#${2%:*} >= 12 ? 1 : 0))
  bq_driver set-text "$id" "$(twelve "$2")"
  bq_driver set-text $((id + 1)) $((10#${2#*:}))
  check_is $((id + 2)) $pm || { bq_driver click $((id + 2)) && bq_wait_for 5 check_is $((id + 2)) $pm; }
  bq_driver click $((id + 3))
  bq_wait_for 10 check_is $((id + 3)) 1
}
# save_and_arm ARM_ID TEXT: "Update" with TEXT for the current alarm, then
# its arm box; returns once both are handled (clicks are handled in order).
save_and_arm() {
  bq_driver set-text $IDC_SPEAK_TEXT "$2"
  bq_driver click $IDC_UPDATE
  bq_driver click "$1"
  bq_wait_for 10 check_is "$1" 1
}
# said_at TEXT: the local time (HH:MM:SS) when TEXT was first said.
said_at() {
  local start=$(bq_speech_records | grep -F -- " $1" | head -n1 | cut -d' ' -f1)
  date -d "@$((${start:-0} / 1000))" +%H:%M:%S
}

bq_setup_prefix
for name in "${!PID_OF[@]}"; do mkdir -p "$BQ_OUT/$name" && at "$name" bq_setup_prefix; done
wineserver -k >/dev/null 2>&1  # a wineserver must be one started in here
bq_start_xvfb
/usr/bin/python3 "$net/sayings_server.py" --port 80 --log-dir "$BQ_OUT/requests" --trickle 5 \
  --ready "$BQ_OUT/server-ready" >"$BQ_OUT/server.log" 2>&1 &
SERVER_PID=$!
printf 'not a folder\n' >"$BQ_OUT/nofolder/prefix/drive_c/quillhaven"
start_at nofolder
start_at trickle

# ---- A sayings site that trickles: the long wait goes to the background ---
at trickle bq_driver wait-window 20000 >/dev/null
bq_check "the trickling site is up" bq_wait_for 10 test -s "$BQ_OUT/server-ready"
clicked_ms=$(date +%s%3N)
at trickle bq_driver click $IDC_SAYING
bq_check "trickle: a click on 'Brightquill' fetches from the site" \
  bq_wait_for 15 test -f "$BQ_OUT/requests/request-1.bin"
(
  at trickle timeout 150 wine "$BQ_DRIVER" answer $IDC_SPEAK_TEXT 140000 >/dev/null 2>&1
  echo "$? $(date +%s%3N)" >"$BQ_OUT/answered"
) &
ANSWER_JOB=$!

# ---- Settings files of random bytes ------------------------------------
# Ten files of 0, 1, 7 and 100 000 bytes, the same on every run, and what
# the window must make of them. Per alarm, "ID CHECK TEXT" of its arm, hour,
# minute and p.m. controls: the bytes read minus one (both 0 when one is
# negative, no upper check) in 12-hour form. Per text file, the text that
# "set" shows, in hex: up to its first period (else the default text), ending
# at a NUL as every window text does.
expected=$(/usr/bin/python3 - "$BQ_SETTINGS" <<'EOF'
import os, random, sys
rng = random.Random(8)
os.makedirs(sys.argv[1])
files = {}
for name, size in (("arm", 7), ("ring1", 0), ("ring2", 1), ("ring3", 7), ("ring4", 100000),
                   ("ring5", 100000), ("speak1", 100000), ("speak2", 0), ("speak3", 1),
                   ("speak4", 7)):
    files[name] = rng.randbytes(size)
    with open(os.path.join(sys.argv[1], "qhsetto%s.txt" % name), "wb") as out:
        out.write(files[name])
arm = files["arm"][:5] if len(files["arm"]) >= 5 else b"     "
for n, (arm_id, hour_id) in enumerate(zip((1003, 1004, 1005, 1006, 1026),
                                          (1007, 1011, 1015, 1019, 1027)), 1):
    ring = files["ring%d" % n][:2]
    hour, minute = (ring[0] - 1, ring[-1] - 1) if ring else (-1, -1)
    hour, minute = (0, 0) if min(hour, minute) < 0 else (hour, minute)
    shown = hour - 12 if hour >= 12 else hour
    print("alarm %s (%s)|%d %d %s;%d - %d;%d - %d;%d %d p.m." % (
        "ABCDE"[n - 1], ring.hex(" ") or "empty", arm_id, arm[n - 1] == 0x41, "ABCDE"[n - 1],
        hour_id, shown or 12, hour_id + 1, minute, hour_id + 2, hour >= 12))
for n in range(1, 5):
    data = files["speak%d" % n][:4096]
    text = data[:data.index(b".") + 1] if b"." in data else b"alarm %d active." % n
    print("text %d|%s" % (n, (text.split(b"\0")[0] + b"\n").hex(" ")))
EOF
)
bq_start_program
bq_check_match "random settings files: the main window appears" '^BQC' \
  "$(bq_driver wait-window 20000)"
rows=$(bq_driver info | awk -F'\t' '$1 == "control" { print $2, $7, $8 }')
while IFS='|' read -r what want; do
  case $what in
    alarm*)
      bq_check_eq "random settings files: $what shows as loaded" "$want" "$(for id in $(
        echo "$want" | tr ';' '\n' | cut -d' ' -f1); do echo "$rows" | grep "^$id "; done |
        paste -sd';')" ;;
    text*)
      set_id=$((IDC_HOUR_A + 4 * (${what#text } - 1) + 3))
      bq_driver click $set_id
      bq_wait_for 10 check_is $set_id 1
      bq_check_eq "random settings files: 'set' shows the $what as loaded" "$want" \
        "$(bq_driver get-text $IDC_SPEAK_TEXT | hex)" ;;
  esac
done <<<"$expected"
bq_check "random settings files: the clock ticks" \
  test "$(bq_driver sample 1001 1600 100 | wc -l)" -ge 2
bq_check "random settings files: the program still runs" bq_alive
bq_stop_program

# ---- Files held open elsewhere, files that cannot be written ------------
# Old bytes that the program never writes (hour 24, minute 60), and tails
# that would show a truncation.
rm -rf "$BQ_SETTINGS"
bq_write_settings qhsettoarm.txt 20 20 20 20 20 20 58
for alarm in 1 2; do
  bq_write_settings qhsettoring$alarm.txt 19 3d
  printf 'Old text %s. Old tail' $alarm >"$BQ_SETTINGS/qhsettospeak$alarm.txt"
done
old_files() { for f in qhsettoarm qhsettoring1 qhsettoring2 qhsettospeak1 qhsettospeak2; do
  echo "$f $(hex <"$BQ_SETTINGS/$f.txt")"; done; }
before=$(old_files)
unchanged() { [ "$(old_files)" = "$before" ]; }
bq_start_program
bq_driver wait-window 20000 >/dev/null
at nofolder bq_driver wait-window 20000 >/dev/null
# A rings in the first minute that leaves 25 s for the edits, B in the next;
# C of the program without a settings folder rings with A.
now=$(date +%s)
ring_a=$(date -d "@$((now + 25 - (now + 25) % 60 + 60))" +%H:%M)
ring_b=$(date -d "@$((now + 25 - (now + 25) % 60 + 120))" +%H:%M)

# Held: A's ring and text files and the arm file, open without sharing.
(exec wine "$BQ_DRIVER" hold-file 60 'C:\quillhaven\qhsettoring1.txt' \
  'C:\quillhaven\qhsettospeak1.txt' 'C:\quillhaven\qhsettoarm.txt' \
  >"$BQ_OUT/hold.txt" 2>>"$BQ_OUT/driver.log") &
HOLD_PID=$!
bq_check "another program holds A's files and the arm file" \
  bq_wait_for 20 grep -q held "$BQ_OUT/hold.txt"
bq_check "held: 'set' A to $ring_a is handled" set_alarm $IDC_HOUR_A "$ring_a"
bq_check_eq "held: A's text cannot be read, so 'set' shows the default" "alarm 1 active." \
  "$(bq_driver get-text $IDC_SPEAK_TEXT)"
bq_check "held: \"Held text\" saved and A armed" save_and_arm $IDC_ARM_A "Held text"
bq_check_eq "held: the window still answers, A's hour as typed" "$(twelve "$ring_a")" \
  "$(bq_driver get-text $IDC_HOUR_A)"
bq_check "held: every settings file keeps its old bytes" unchanged
kill "$HOLD_PID" 2>/dev/null
wait "$HOLD_PID" 2>/dev/null
HOLD_PID=""
bq_check "held: still the old bytes once released" unchanged

# No settings folder: greeted, defaults shown, edits kept in memory.
bq_check_match "no settings folder: the greeting was said" '^loading ' \
  "$(at nofolder bq_spoken | head -n1)"
bq_check_eq "no settings folder: alarm C shows 12, 0, a.m." "12 0 0" "$(for id in 1015 1016; do
  at nofolder bq_driver get-text $id; done | paste -sd' ') $(at nofolder bq_driver get-check 1017)"
bq_check "no settings folder: 'set' C to $ring_a" at nofolder set_alarm $IDC_HOUR_C "$ring_a"
bq_check "no settings folder: \"From memory\" saved and C armed" \
  at nofolder save_and_arm $IDC_ARM_C "From memory"

# Unwritable: B's files and the arm file, immutable even for root.
UNWRITABLE=("$BQ_SETTINGS"/qhsettoring2.txt "$BQ_SETTINGS"/qhsettospeak2.txt "$BQ_SETTINGS"/qhsettoarm.txt)
if chattr +i "${UNWRITABLE[@]}" 2>"$BQ_OUT/chattr.log"; then
  bq_check "unwritable: 'set' B to $ring_b is handled" set_alarm $IDC_HOUR_B "$ring_b"
  bq_check_eq "unwritable: 'set' B still reads B's old text" "Old text 2." \
    "$(bq_driver get-text $IDC_SPEAK_TEXT)"
  bq_check "unwritable: \"Unwritable text\" saved and B armed" \
    save_and_arm $IDC_ARM_B "Unwritable text"
  bq_check "unwritable: every settings file keeps its old bytes" unchanged
else
  UNWRITABLE=()
  echo "   skip unwritable files: the file system refuses chattr +i: $(cat "$BQ_OUT/chattr.log")"
fi

# ---- The alarms ring from memory -----------------------------------------
BQ_SPOKEN_BEFORE=0 bq_check "no settings folder: C rings at $ring_a" \
  at nofolder bq_wait_spoken "From memory." 90
bq_check_match "no settings folder: in the first 5 s of $ring_a" "^$ring_a:0[0-4]\$" \
  "$(at nofolder said_at "From memory.")"
bq_check_eq "no settings folder: the plain file is as it was" "$(printf 'not a folder\n' | hex)" \
  "$(hex <"$BQ_OUT/nofolder/prefix/drive_c/quillhaven")"
BQ_SPOKEN_BEFORE=0 bq_check "held: A rings at $ring_a with the text saved while held" \
  bq_wait_spoken "Held text." 30
bq_check_match "held: in the first 5 s of $ring_a" "^$ring_a:0[0-4]\$" "$(said_at "Held text.")"
if [ ${#UNWRITABLE[@]} -gt 0 ]; then
  # B's minute takes over A's running ring; its next announcement says B.
  BQ_SPOKEN_BEFORE=0 bq_check "unwritable: B rings in $ring_b with the text saved then" \
    bq_wait_spoken "Unwritable text." 90
  bq_check_match "unwritable: in the first 30 s of $ring_b" "^$ring_b:[0-2][0-9]\$" \
    "$(said_at "Unwritable text.")"
  bq_check "unwritable: every settings file keeps its old bytes" unchanged
fi
bq_check "held and unwritable files: the program still runs" bq_alive
bq_stop_program
mv "$BQ_SPEECH_LOG" "$BQ_OUT/speech-settings.log"

# ---- No speech object -----------------------------------------------------
wine reg delete 'HKCR\SAPI.SpVoice' /f >/dev/null 2>&1
bq_check "the prefix has no SAPI.SpVoice any more" \
  test "$(wine reg query 'HKCR\SAPI.SpVoice' >/dev/null 2>&1; echo $?)" != 0
bq_start_program
bq_driver wait-window 20000 >/dev/null
window_ms=$(($(date +%s%3N) - BQ_START_MS))
bq_check "no speech object: the window appears at once (${window_ms} ms after the start)" \
  test "$window_ms" -le 5000
bq_driver click $IDC_TEST
bq_driver click $IDC_EXIT
bq_check "no speech object: 'Test' and 'Exit' end the program as usual" bq_wait_exit 15
bq_check_eq "no speech object: exit code 0 and nothing said" "0 none" \
  "${BQ_EXIT_CODE:-} $([ -e "$BQ_SPEECH_LOG" ] && echo said || echo none)"

# ---- The trickling site's answer ------------------------------------------
wait "$ANSWER_JOB"
ANSWER_JOB=""
read -r answer_status answered_ms <"$BQ_OUT/answered"
waited=$((answered_ms - clicked_ms))
bq_check "trickle: the window answers again 100 to 125 s after the click (${waited} ms)" \
  test "$answer_status" = 0 -a "$waited" -ge 100000 -a "$waited" -le 125000
bq_check "trickle: the site trickled until the program closed the connection" \
  bq_wait_for 5 test -f "$BQ_OUT/requests/sent-1.bin"
sent=$(cat "$BQ_OUT/requests/sent-1.bin" 2>/dev/null)
echo "   $(tail -n1 "$BQ_OUT/server.log")"
# The body tag and the line break after it go; the words stay as they came.
bq_check_eq "trickle: the text box shows what arrived, extracted" "${sent:7}" \
  "$(at trickle bq_driver get-text $IDC_SPEAK_TEXT || echo '(no answer)')"
BQ_SPOKEN_BEFORE=0 bq_check "trickle: and it is said" at trickle bq_wait_spoken "${sent:7}" 10
bq_check "trickle: the program still runs" at trickle bq_alive

bq_finish
