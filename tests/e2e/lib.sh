# Shared by the end-to-end scenarios: source it, then tell the story.
#
#   source "$(dirname "$0")/../lib.sh"
#   bq_init startup "$@"       # build dir: argument 1 or BQ_BUILD_DIR
#   bq_setup_prefix            # fresh private Wine prefix with our voice
#   bq_start_xvfb              # private display (or BQ_DISPLAY to reuse one)
#   bq_start_program           # brightquill.exe, its PID in BQ_PID
#   bq_check_eq "caption" "$expected" "$(bq_driver get-text ...)"
#   bq_finish                  # prints the summary; the exit status of the test
#
# Everything started here (the program, Xvfb, the prefix's wineserver) is
# ended by PID in an EXIT trap, also when a scenario fails half-way.
#
# Wine in a network namespace: bq_setup_prefix leaves the prefix's wineserver
# stopped, so the first Wine process of bq_start_program (or bq_driver)
# starts a new one in whatever namespace the script is in by then. Xvfb may
# run outside the namespace (pass its display in BQ_DISPLAY) or inside.

# ---- Set-up -------------------------------------------------------------

. "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/private-xvfb.sh"
# After start_faked_clock, the Wine processes started here run on that clock.
. "$(dirname "${BASH_SOURCE[0]}")/faked-clock.sh"

# bq_in_private_network ARGS...: runs the calling scenario again, with its
# arguments, in the loopback-only world of net/in_netns.sh; returns at once
# when it already runs there. Before bq_init.
bq_in_private_network() {
  [ "${BQ_NETNS_READY:-}" = 1 ] && return 0
  exec "$(dirname "${BASH_SOURCE[0]}")/net/in_netns.sh" bash "$0" "$@"
}

# bq_init NAME [BUILD_DIR]: paths, output folder, the cleanup trap.
bq_init() {
  BQ_SCENARIO=$1
  BQ_BUILD_DIR=$(cd "${2:-${BQ_BUILD_DIR:?BQ_BUILD_DIR or an argument names the Windows build}}" && pwd)
  BQ_E2E_BIN=$BQ_BUILD_DIR/tests/e2e
  BQ_EXE=$BQ_BUILD_DIR/brightquill.exe
  BQ_DRIVER=$BQ_E2E_BIN/bq_driver.exe
  BQ_OUT=$BQ_BUILD_DIR/e2e-output/$BQ_SCENARIO
  BQ_PID=""
  BQ_XVFB_PID=""
  BQ_EXIT_CODE=""
  BQ_CHECKS=0
  BQ_FAILURES=0
  local file
  for file in "$BQ_EXE" "$BQ_DRIVER" "$BQ_E2E_BIN/recording_voice.dll" "$BQ_E2E_BIN/probe_hook.dll"; do
    [ -f "$file" ] || { echo "missing: $file (build the Windows build first)" >&2; exit 2; }
  done
  rm -rf "$BQ_OUT"
  mkdir -p "$BQ_OUT"
  export WINEPREFIX=$BQ_OUT/prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  trap bq_cleanup EXIT
  trap 'exit 130' INT TERM
  _bq_start_watchdog "${BQ_TIME_LIMIT:-240}"
  echo "== $BQ_SCENARIO (output in $BQ_OUT)"
}

# A scenario that runs past its time limit is ended with TERM, so that its
# cleanup still runs (a ctest time-out would kill it without one).
_bq_start_watchdog() {
  local scenario_pid=$$
  (
    sleep "$1" &
    local sleep_pid=$!
    trap 'kill $sleep_pid 2>/dev/null; exit 0' TERM
    wait "$sleep_pid" || exit 0
    echo "   FAIL time limit of $1 s reached" >&2
    kill -TERM "$scenario_pid"
  ) &
  BQ_WATCHDOG_PID=$!
}

# The template prefix: booted once per build folder, our voice registered in
# it; every scenario gets a copy.
BQ_TEMPLATE_VERSION=1
_bq_make_template() {
  local template=$BQ_BUILD_DIR/e2e-prefix-template
  (
    flock 9
    [ -f "$template/bq-template-$BQ_TEMPLATE_VERSION" ] && exit 0
    rm -rf "$template"
    mkdir -p "$template/drive_c/bq-e2e"
    WINEPREFIX=$template wine wineboot -i >/dev/null 2>&1 || exit 1
    # Our voice under the ProgID the program asks for, in the 64-bit view.
    local clsid='{54781364-7532-4827-8C3B-20FDDAD91BD8}'
    cat >"$template/drive_c/bq-e2e/voice.reg" <<EOF
REGEDIT4

[HKEY_CLASSES_ROOT\\SAPI.SpVoice]
@="Recording voice for tests"

[HKEY_CLASSES_ROOT\\SAPI.SpVoice\\CLSID]
@="$clsid"

[HKEY_CLASSES_ROOT\\CLSID\\$clsid]
@="Recording voice for tests"
"LogFile"="C:\\\\bq-e2e\\\\speech.log"

[HKEY_CLASSES_ROOT\\CLSID\\$clsid\\InprocServer32]
@="C:\\\\bq-e2e\\\\recording_voice.dll"
"ThreadingModel"="Apartment"

[HKEY_CLASSES_ROOT\\CLSID\\$clsid\\ProgID]
@="SAPI.SpVoice"
EOF
    WINEPREFIX=$template wine regedit /S 'C:\bq-e2e\voice.reg' >/dev/null 2>&1
    # The registry is on disk once the prefix's wineserver has ended.
    WINEPREFIX=$template wineserver -w
    # Marked as made only when the voice is really in the registry, so that a
    # failed boot is redone by the next scenario instead of copied.
    grep -q 'SAPI\.SpVoice' "$template/system.reg" 2>/dev/null || exit 1
    touch "$template/bq-template-$BQ_TEMPLATE_VERSION"
  ) 9>"$BQ_BUILD_DIR/e2e-prefix-template.lock"
}

# bq_setup_prefix: a fresh private prefix (a copy of the template) with the
# recording voice and the probe hook in C:\bq-e2e. Starts no Wine process.
bq_setup_prefix() {
  _bq_make_template || { echo "cannot make the template prefix" >&2; exit 2; }
  rm -rf "$WINEPREFIX"
  cp -a "$BQ_BUILD_DIR/e2e-prefix-template" "$WINEPREFIX"
  cp "$BQ_E2E_BIN/recording_voice.dll" "$BQ_E2E_BIN/probe_hook.dll" "$BQ_DRIVER" \
    "$WINEPREFIX/drive_c/bq-e2e/"
  rm -f "$WINEPREFIX/drive_c/bq-e2e/speech.log"
  BQ_SETTINGS=$WINEPREFIX/drive_c/quillhaven
  BQ_SPEECH_LOG=$WINEPREFIX/drive_c/bq-e2e/speech.log
}

# _bq_add_user_reg KEY NAME VALUE: adds a string value to the prefix's user
# registry file directly (no Wine process; only before Wine runs in it).
_bq_add_user_reg() {
  printf '\n[%s] 0\n"%s"="%s"\n' "$1" "$2" "$3" >>"$WINEPREFIX/user.reg"
}

# bq_use_virtual_desktop [WxH]: Wine draws frames and captions inside a
# desktop window of its own (for screenshots). Before bq_start_program.
bq_use_virtual_desktop() {
  _bq_add_user_reg 'Software\\Wine\\Explorer' Desktop Default
  _bq_add_user_reg 'Software\\Wine\\Explorer\\Desktops' Default "${1:-1024x768}"
}

# bq_set_voice_ms MS: how long each Speak of the recording voice lasts
# (300 ms unless set). Before bq_start_program.
bq_set_voice_ms() {
  printf '\n[%s] 0\n"SpeakMs"="%s"\n' \
    'Software\\Classes\\CLSID\\{54781364-7532-4827-8C3B-20FDDAD91BD8}' "$1" \
    >>"$WINEPREFIX/system.reg"
}

# bq_start_xvfb: a private Xvfb on a free display (exports DISPLAY), unless
# BQ_DISPLAY names a display to use instead.
bq_start_xvfb() {
  if [ -n "${BQ_DISPLAY:-}" ]; then
    export DISPLAY=$BQ_DISPLAY
    return 0
  fi
  local started=0
  start_private_xvfb "$BQ_OUT/xvfb.log" || started=$?
  BQ_XVFB_PID=$PRIVATE_XVFB_PID  # ended by the cleanup either way
  [ "$started" -eq 0 ] || { echo "Xvfb did not start" >&2; exit 2; }
  echo "   Xvfb $DISPLAY (pid $BQ_XVFB_PID)"
}

# bq_start_program: starts brightquill.exe in the prefix; BQ_PID is its
# process (the wine loader execs into the program, keeping the PID).
bq_start_program() {
  BQ_START_MS=$(date +%s%3N)
  (cd "$BQ_OUT" && exec env "${FAKED_CLOCK_ENV[@]}" wine "$BQ_EXE" >"$BQ_OUT/program.log" 2>&1) &
  BQ_PID=$!
  echo "   brightquill.exe pid $BQ_PID"
}

# ---- Looking at the program -------------------------------------------

# bq_driver ARGS...: runs bq_driver.exe in the prefix (see its commands in
# driver/driver_main.cpp); its output and exit status are the driver's.
bq_driver() {
  timeout 120 env "${FAKED_CLOCK_ENV[@]}" wine "$BQ_DRIVER" "$@" 2>>"$BQ_OUT/driver.log"
}

# bq_alive: whether the program's process still runs.
bq_alive() {
  [ -n "$BQ_PID" ] && kill -0 "$BQ_PID" 2>/dev/null &&
    ! grep -q '^State:.*Z' "/proc/$BQ_PID/status" 2>/dev/null
}

# bq_thread_count: the number of threads of the program's process.
bq_thread_count() {
  ls "/proc/$BQ_PID/task" 2>/dev/null | wc -l
}

# bq_prefix_processes: PIDs of the Wine processes (programs, wineserver) that
# run in this scenario's prefix.
bq_prefix_processes() {
  local environ pid
  for environ in $(grep -lsz "^WINEPREFIX=$WINEPREFIX\$" /proc/[0-9]*/environ); do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    case $(readlink "/proc/$pid/exe" 2>/dev/null) in
      */wine*) echo "$pid" ;;
    esac
  done
}

# bq_wait_exit SECONDS: waits for the program to end; sets BQ_EXIT_CODE.
# Status 1 when it still runs after SECONDS.
bq_wait_exit() {
  local deadline=$(($(date +%s%3N) + $1 * 1000))
  while bq_alive; do
    [ "$(date +%s%3N)" -ge "$deadline" ] && return 1
    sleep 0.05
  done
  wait "$BQ_PID" 2>/dev/null
  BQ_EXIT_CODE=$?
  BQ_END_MS=$(date +%s%3N)
  BQ_PID=""
  return 0
}

# bq_spoken: the texts the recording voice has spoken, one per line, in order.
bq_spoken() {
  [ -f "$BQ_SPEECH_LOG" ] && cut -d' ' -f6- "$BQ_SPEECH_LOG"
  return 0
}

# bq_speech_records: the voice's whole log lines:
# START_MS END_MS THREAD VISIBLE FLAGS TEXT (see voice/speech_log.h).
bq_speech_records() {
  [ -f "$BQ_SPEECH_LOG" ] && cat "$BQ_SPEECH_LOG"
  return 0
}

# bq_wait_spoken TEXT SECONDS: waits until TEXT has been spoken (once more
# than it had been when called, with BQ_SPOKEN_BEFORE set to that count).
bq_wait_spoken() {
  local want=$1 deadline=$(($(date +%s%3N) + $2 * 1000))
  local before=${BQ_SPOKEN_BEFORE:-0}
  until [ "$(bq_spoken | grep -cxF -- "$want")" -gt "$before" ]; do
    [ "$(date +%s%3N)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# bq_file_hex NAME: the bytes of settings file NAME as "41 20 41"; empty for
# an empty file, "missing" when there is none.
bq_file_hex() {
  local file=$BQ_SETTINGS/$1
  [ -f "$file" ] || { echo missing; return 0; }
  od -An -v -tx1 "$file" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'
  echo
}

# bq_write_settings NAME HEX...: writes a settings file before start-up,
# e.g. bq_write_settings qhsettoring1.txt 13 05.
bq_write_settings() {
  local name=$1 byte
  shift
  mkdir -p "$BQ_SETTINGS"
  : >"$BQ_SETTINGS/$name"
  for byte in "$@"; do printf "\\x$byte" >>"$BQ_SETTINGS/$name"; done
}

# bq_coming_minute SECONDS: the next minute that begins at least SECONDS from
# now, as HH:MM, for an alarm that must be set up before it rings.
bq_coming_minute() {
  local now
  now=$(date +%s)
  date -d "@$(((now + $1) / 60 * 60 + 60))" +%H:%M
}

# bq_wait_for SECONDS COMMAND...: repeats COMMAND until it succeeds.
bq_wait_for() {
  local deadline=$(($(date +%s%3N) + $1 * 1000))
  shift
  until "$@"; do
    [ "$(date +%s%3N)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# bq_screenshot FILE [LEFT TOP RIGHT BOTTOM]: the Xvfb screen as PNG, or
# only that rectangle of it (screen pixels, e.g. the window's frame).
bq_screenshot() {
  if [ $# -eq 5 ]; then
    import -display "$DISPLAY" -window root -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage "$1"
  else
    import -display "$DISPLAY" -window root "$1"
  fi
}

# ---- Checks -------------------------------------------------------------

_bq_pass() { BQ_CHECKS=$((BQ_CHECKS + 1)); echo "   ok   $1"; }
_bq_fail() {
  BQ_CHECKS=$((BQ_CHECKS + 1))
  BQ_FAILURES=$((BQ_FAILURES + 1))
  echo "   FAIL $1"
  shift
  local line
  for line in "$@"; do echo "        $line"; done
  # A shared machine may be busy: say how busy beside every failure.
  echo "        load average: $(cut -d' ' -f1-3 /proc/loadavg)"
}

# bq_check DESCRIPTION COMMAND...: passes when COMMAND succeeds.
bq_check() {
  local what=$1
  shift
  if "$@"; then _bq_pass "$what"; else _bq_fail "$what" "command failed: $*"; fi
}

# bq_check_eq DESCRIPTION EXPECTED ACTUAL
bq_check_eq() {
  if [ "$2" = "$3" ]; then _bq_pass "$1"; else
    _bq_fail "$1" "expected: [$2]" "actual:   [$3]"
  fi
}

# bq_check_match DESCRIPTION EXTENDED-REGEX ACTUAL
bq_check_match() {
  if printf '%s' "$3" | grep -Eq -- "$2"; then _bq_pass "$1"; else
    _bq_fail "$1" "expected to match: $2" "actual: [$3]"
  fi
}

# bq_finish: prints the summary; status 1 if any check failed.
bq_finish() {
  echo "== $BQ_SCENARIO: $BQ_CHECKS checks, $BQ_FAILURES failed"
  [ "$BQ_CHECKS" -gt 0 ] && [ "$BQ_FAILURES" -eq 0 ]
}

# ---- Cleanup ------------------------------------------------------------

# bq_stop_program: ends the program by PID and the prefix's wineserver.
bq_stop_program() {
  if [ -n "$BQ_PID" ]; then
    kill "$BQ_PID" 2>/dev/null
    sleep 0.2
    kill -9 "$BQ_PID" 2>/dev/null
    wait "$BQ_PID" 2>/dev/null
    BQ_PID=""
  fi
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1
    timeout 10 wineserver -w >/dev/null 2>&1
  fi
  return 0
}

# The settings folder and the speech log are kept in the output folder; the
# prefix itself (about 700 MB) is removed unless BQ_KEEP_PREFIX=1.
_bq_keep_results() {
  [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || return 0
  [ -d "$WINEPREFIX/drive_c/quillhaven" ] && cp -a "$WINEPREFIX/drive_c/quillhaven" "$BQ_OUT/"
  [ -f "$WINEPREFIX/drive_c/bq-e2e/speech.log" ] && cp "$WINEPREFIX/drive_c/bq-e2e/speech.log" "$BQ_OUT/"
  [ "${BQ_KEEP_PREFIX:-0}" = 1 ] || rm -rf "$WINEPREFIX"
}

bq_cleanup() {
  local status=$?
  # A second TERM or INT (the watchdog, ctest, a user) must not cut the
  # clean-up short and leave Xvfb or wineserver behind.
  trap '' INT TERM
  if [ -n "${BQ_WATCHDOG_PID:-}" ]; then
    kill "$BQ_WATCHDOG_PID" 2>/dev/null
    wait "$BQ_WATCHDOG_PID" 2>/dev/null
  fi
  bq_stop_program
  _bq_keep_results
  if [ -n "$BQ_XVFB_PID" ]; then
    kill "$BQ_XVFB_PID" 2>/dev/null
    wait "$BQ_XVFB_PID" 2>/dev/null
    BQ_XVFB_PID=""
  fi
  exit "$status"
}
