#!/usr/bin/env bash
# Sets up, builds and starts the clock under Wine. Settings live in the Wine
# prefix build/wine-prefix, in drive_c/quillhaven. Without a display the
# clock runs on a private Xvfb for a few seconds and a screenshot is saved.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build-windows.sh

export WINEPREFIX=$PWD/build/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
exe=build/windows/brightquill.exe

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi

. scripts/private-xvfb.sh
start_private_xvfb || { echo "Xvfb did not start" >&2; exit 1; }
xvfb=$PRIVATE_XVFB_PID
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

echo "No display: running the clock on Xvfb $DISPLAY for a few seconds."
wine "$exe" &
for _ in $(seq 60); do
  xwininfo -root -tree 2>/dev/null | grep -q 'BQC (www.brightquill.com)' && break
  sleep 0.5
done
sleep 3
shot=$PWD/build/brightquill-screenshot.png
import -window root "$shot"
echo "Screenshot saved: $shot"
echo "Settings folder: $WINEPREFIX/drive_c/quillhaven"
