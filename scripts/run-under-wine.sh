#!/usr/bin/env bash
# Runs one Windows program of the build under Wine, in a private Wine prefix
# beside it and, when no display is set, on a private Xvfb display. ctest uses
# this for the Windows test programs. Exit status: the program's.
#   run-under-wine.sh EXE ARGS...       runs EXE
#   run-under-wine.sh --boot BUILD_DIR  only boots the build's template prefix
#                                       (ctest's fixture before the programs)
set -u
if [ "${1:-}" = --boot ]; then
  exe=""
  build_dir=$(cd "$2" && pwd)
else
  exe=$1
  shift
  build_dir=$(cd "$(dirname "$exe")" && pwd)
fi

# Each program gets a prefix of its own, copied from one template prefix, so
# programs run side by side and ending one's wineserver touches no other.
# A prefix counts as made only with its marker, which the template gets once
# wineboot and the wineserver's exit (the registry written to disk) finished:
# a boot cut short, by a time limit say, is made again rather than copied.
template=$build_dir/wine-prefix-template
marker=bq-booted
if [ -n "$exe" ]; then
  export WINEPREFIX=${BQ_WINEPREFIX:-$build_dir/wine-prefix-$(basename "$exe" .exe)}
else
  export WINEPREFIX=$template
fi
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
  if [ ! -f "$template/$marker" ]; then
    # A wineserver of a boot cut short may still run in it.
    [ -d "$template" ] && WINEPREFIX=$template wineserver -k >/dev/null 2>&1
    rm -rf "$template"
    mkdir -p "$template"
    WINEPREFIX=$template wine wineboot -i >/dev/null 2>&1 || exit 1
    WINEPREFIX=$template wineserver -w
    [ -f "$template/system.reg" ] || exit 1
    touch "$template/$marker"
  fi
  [ -n "$exe" ] || exit 0
  # Copied under another name first, so that a copy cut short is no prefix.
  if [ ! -f "$WINEPREFIX/$marker" ]; then
    rm -rf "$WINEPREFIX" "$WINEPREFIX.partial"
    cp -a "$template" "$WINEPREFIX.partial" && mv "$WINEPREFIX.partial" "$WINEPREFIX"
  fi
) 9>"$build_dir/.wine-prefix.lock" || { echo "the Wine prefix could not be made" >&2; exit 2; }

[ -n "$exe" ] || exit 0
wine "$exe" "$@"
