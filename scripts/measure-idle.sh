#!/usr/bin/env bash
# Measures what a clock costs while it sits idle, side by side on this
# machine. Each subject runs alone on a private Xvfb; once its window is up
# it settles for BQ_SETTLE seconds (10) and is then measured over BQ_SPAN
# seconds (30): CPU in % of one core, wakeups per second (the context
# switches of all its threads) and PSS (proportional memory, MiB).
#   native     build/native/brightquill, its greeting played to a private
#              sound server, no session bus
#   wine       build/windows/brightquill.exe under Wine, and its wineserver
#   reference  a bare Wine dialog of the clock's size with the clock's
#              polling loop (PeekMessageW, Sleep(1)): what Wine's loop costs
# Usage: scripts/measure-idle.sh [native|wine|reference]...  (all three when
# none is named). Builds what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/private-xvfb.sh
. scripts/private-pulse.sh
settle=${BQ_SETTLE:-10}
span=${BQ_SPAN:-30}
out=$PWD/build/measure
mkdir -p "$out"

# ---- Measuring ----------------------------------------------------------

# counters PID: "cpu-ticks context-switches" of the process, all threads.
counters() {
  local ticks switches=0 task
  ticks=$(awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat")
  for task in /proc/"$1"/task/*/status; do
    switches=$((switches + $(awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }' \
      "$task" 2>/dev/null || echo 0)))
  done
  echo "$ticks $switches"
}

# measure_idle LABEL PID: one line of the table, measured over the span.
measure_idle() {
  local label=$1 pid=$2 before after pss
  before=$(counters "$pid")
  sleep "$span"
  after=$(counters "$pid")
  pss=$(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup")
  awk -v label="$label" -v b="$before" -v a="$after" -v span="$span" -v hz="$(getconf CLK_TCK)" \
    -v pss="$pss" 'BEGIN {
      split(b, x, " "); split(a, y, " ")
      printf "%-34s %6.2f %% %9.1f /s %8.1f MiB\n", label, 100 * (y[1] - x[1]) / hz / span,
        (y[2] - x[2]) / span, pss / 1024
    }'
}

# measure_side_by_side LABEL PID [LABEL PID]...: all at once, over one span.
measure_side_by_side() {
  local pids=() labels=() files=() measuring=()
  while [ $# -gt 0 ]; do labels+=("$1"); pids+=("$2"); shift 2; done
  local i
  for i in "${!pids[@]}"; do
    files+=("$out/row-$i")
    measure_idle "${labels[$i]}" "${pids[$i]}" >"${files[$i]}" &
    measuring+=($!)
  done
  wait "${measuring[@]}"
  cat "${files[@]}"
  rm -f "${files[@]}"
}

# ---- Running the subjects -----------------------------------------------

started=()
cleanup() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "${PRIVATE_PULSE_DIR:-}"
}
trap cleanup EXIT

wait_for_window() {  # NAME-PATTERN
  local i
  for i in $(seq 600); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "no window '$1' within 60 s" >&2
  return 1
}

end_started() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
  started=()
}

measure_native() {
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/native -j"${BQ_JOBS:-2}" --target brightquill >/dev/null
  start_private_xvfb
  started+=("$PRIVATE_XVFB_PID")
  start_private_pulse
  started+=("$PRIVATE_PULSE_PID")
  # As a desktop's sound server does: an output that nothing plays to sleeps.
  pactl load-module module-suspend-on-idle timeout=1 >/dev/null
  rm -rf "$out/native-config"
  mkdir -p "$out/native-config"
  XDG_CONFIG_HOME=$out/native-config DBUS_SESSION_BUS_ADDRESS=disabled: NO_AT_BRIDGE=1 \
    build/native/brightquill >"$out/native.log" 2>&1 &
  local clock=$!
  started+=("$clock")
  wait_for_window '^BQC \(www'
  sleep "$settle"
  measure_side_by_side "native brightquill" "$clock" \
    "  (its private sound server)" "$PRIVATE_PULSE_PID"
  end_started
}

# Wine: a private prefix copied from the build's template, its wineserver
# started here so that it can be ended by its PID, and every process that
# runs in the prefix ended by its PID.
wine_prefix() {
  export WINEPREFIX=$out/prefix WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    rm -rf "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
}
prefix_processes() {
  grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 || true
}
measure_wine() {  # LABEL PROGRAM WINDOW-PATTERN
  wine_prefix
  start_private_xvfb
  started+=("$PRIVATE_XVFB_PID")
  wineserver -f -p >/dev/null 2>&1 &
  local server=$!
  started+=("$server")
  sleep 1
  wine "$2" >"$out/wine.log" 2>&1 &
  local program=$!
  started+=("$program")
  wait_for_window "$3"
  sleep "$settle"
  measure_side_by_side "$1" "$program" "  wineserver" "$server"
  local pid i
  for pid in $(prefix_processes); do kill "$pid" 2>/dev/null || true; done
  end_started
  for i in $(seq 50); do [ -z "$(prefix_processes)" ] && break; sleep 0.1; done
}

subjects=("$@")
[ ${#subjects[@]} -eq 0 ] && subjects=(native wine reference)
echo "Idle for ${span} s after ${settle} s of settling, on $(nproc) cores:"
printf '%-34s %8s %12s %12s\n' "" "CPU" "wakeups" "PSS"
for subject in "${subjects[@]}"; do
  case $subject in
    native) measure_native ;;
    wine)
      [ -f build/windows/brightquill.exe ] || scripts/build-windows.sh
      measure_wine "brightquill.exe under Wine" build/windows/brightquill.exe '^BQC \(www'
      ;;
    reference)
      x86_64-w64-mingw32-g++ -O2 -static -municode -mwindows \
        -o "$out/idle_reference.exe" scripts/measure/idle_reference.cpp
      measure_wine "Wine reference (PeekMessageW+Sleep(1))" "$out/idle_reference.exe" \
        '^Idle reference$'
      ;;
    *) echo "unknown subject: $subject" >&2; exit 2 ;;
  esac
done
