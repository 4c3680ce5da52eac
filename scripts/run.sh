#!/usr/bin/env bash
# Sets up, builds and starts the clock on this display:
#   scripts/run.sh            the Linux desktop program build/native/brightquill
#                             (settings in $XDG_CONFIG_HOME/quillhaven, or
#                             ~/.config/quillhaven)
#   scripts/run.sh --windows  brightquill.exe under Wine (settings in the
#                             prefix build/wine-prefix, in drive_c/quillhaven)
# Without a display the clock runs on a private Xvfb for a few seconds and a
# screenshot is saved; the desktop program's greeting is then recorded from
# a private sound server and saved too. The exit status is then 1 when no
# window appeared, or when the desktop program had no sound server to be
# recorded from; the files of an earlier run are removed first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

windows=""
[ "${1:-}" = --windows ] && windows=1

if [ -n "$windows" ]; then
  scripts/build-windows.sh
  export WINEPREFIX=$PWD/build/wine-prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  clock=(wine build/windows/brightquill.exe)
  settings=$WINEPREFIX/drive_c/quillhaven
else
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/native -j"${BQ_JOBS:-2}" --target brightquill
  clock=(build/native/brightquill)
  settings=${XDG_CONFIG_HOME:-$HOME/.config}/quillhaven
fi

if [ -n "${DISPLAY:-}" ] || { [ -z "$windows" ] && [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "${clock[@]}"
fi

. scripts/private-xvfb.sh
. scripts/private-pulse.sh
xvfb="" pulse="" recorder="" program=""
cleanup() {
  # Each is ended even when one before it has ended already.
  set +e
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$windows" ] && { wineserver -k >/dev/null 2>&1 || true; }
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null
  [ -n "$pulse" ] && { kill "$pulse" 2>/dev/null; rm -rf "$PRIVATE_PULSE_DIR"; }
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  true
}
trap cleanup EXIT

shot=$PWD/build/brightquill-screenshot.png
greeting=$PWD/build/brightquill-greeting.wav
rm -f "$shot" "$greeting"
failed=0
start_private_xvfb || { echo "Xvfb did not start" >&2; exit 1; }
xvfb=$PRIVATE_XVFB_PID
if [ -z "$windows" ]; then
  # No session bus and no accessibility bridge: nothing is launched beside
  # the clock that would outlive it.
  export DBUS_SESSION_BUS_ADDRESS=disabled: NO_AT_BRIDGE=1
  if start_private_pulse; then
    parec -d heard.monitor --format=s16le --rate=22050 --channels=1 >build/greeting.raw &
    recorder=$!
  else
    echo "The sound server did not start: the greeting is not recorded." >&2
    failed=1
  fi
  pulse=$PRIVATE_PULSE_PID
fi

echo "No display: running the clock on Xvfb $DISPLAY for a few seconds."
"${clock[@]}" &
program=$!
window=""
for _ in $(seq 120); do
  # grep reads all (no -q), so that xwininfo ends of itself, not of a closed pipe.
  xwininfo -root -tree 2>/dev/null | grep -F 'BQC (www.brightquill.com)' >/dev/null &&
    { window=1; break; }
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "No window of the clock appeared within 60 s." >&2
  failed=1
fi
sleep 3
import -window root "$shot"
echo "Screenshot saved: $shot"
if [ -n "$recorder" ]; then
  kill "$recorder"
  wait "$recorder" 2>/dev/null || true
  recorder=""
  sox -t raw -r 22050 -e signed -b 16 -c 1 build/greeting.raw "$greeting"
  rm -f build/greeting.raw
  echo "Sound of the first $(soxi -D "$greeting") s, the greeting included, saved: $greeting"
fi
echo "Settings folder: $settings"
exit "$failed"
