#!/usr/bin/env bash
# Runs one Windows program of the build under Wine, in a private Wine prefix
# beside it and, when no display is set, on a private Xvfb display. ctest uses
# this for the Windows test programs. Exit status: the program's.
set -u
exe=$1
shift
build_dir=$(cd "$(dirname "$exe")" && pwd)

# Each program gets a prefix of its own, copied from one template prefix, so
# programs run side by side and ending one's wineserver touches no other.
template=$build_dir/wine-prefix-template
export WINEPREFIX=${BQ_WINEPREFIX:-$build_dir/wine-prefix-$(basename "$exe" .exe)}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

started_xvfb=""
cleanup() {
  wineserver -k >/dev/null 2>&1
  if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null; wait "$started_xvfb" 2>/dev/null; fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  . "$(dirname "$0")/private-xvfb.sh"
  start_private_xvfb || { echo "Xvfb did not start" >&2; exit 2; }
  started_xvfb=$PRIVATE_XVFB_PID
fi

(
  flock 9
  if [ ! -f "$template/system.reg" ]; then
    mkdir -p "$template"
    WINEPREFIX=$template wine wineboot -i >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX"
  fi
) 9>"$build_dir/.wine-prefix.lock"

wine "$exe" "$@"
