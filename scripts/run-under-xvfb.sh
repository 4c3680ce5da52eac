#!/usr/bin/env bash
# Runs one native desktop program of the build on a private Xvfb display,
# without the accessibility bus, so that it leaves no process behind. ctest
# uses this for the GTK tests. Exit status: the program's.
set -u
. "$(dirname "$0")/private-xvfb.sh"

xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
}
trap cleanup EXIT

start_private_xvfb || { echo "Xvfb did not start" >&2; exit 2; }
xvfb_pid=$PRIVATE_XVFB_PID
# GDK_GL as the program sets it in its main.
export NO_AT_BRIDGE=1 GDK_BACKEND=x11 GSETTINGS_BACKEND=memory GDK_GL=disable
unset DBUS_SESSION_BUS_ADDRESS
"$@"
