#!/usr/bin/env bash
# The Debian package on a machine that never saw Brightquill: a fresh minimal
# Debian 12 root, where `apt-get install ./brightquill_….deb` must bring all
# that the program needs. The clock is then started there on a private Xvfb
# with a private sound server (both outside the root, their sockets bound
# in), its greeting is heard, start at sign-in is turned on and off, and
# `apt-get remove` takes every installed file but leaves the user's alarms.
# Usage: deb_fresh_root.sh DEB OUTPUT_FOLDER   (as root; needs mmdebstrap)
set -u
deb=$(realpath "$1")
out=$(mkdir -p "$2" && cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
scripts=$(cd "$here/../../scripts" && pwd)
source "$here/../e2e/lib.sh"
. "$scripts/fresh-root.sh"
fresh_root_private_mounts "$@"
. "$scripts/private-pulse.sh"
BQ_SCENARIO=release-deb BQ_CHECKS=0 BQ_FAILURES=0
echo "== $BQ_SCENARIO (output in $out)"

root=$(mktemp -d "${TMPDIR:-/tmp}/brightquill-deb-root.XXXXXX")
started=()
cleanup() {
  local status=$? pid
  trap '' INT TERM
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  fresh_root_remove "$root" || status=1
  rm -rf "${PRIVATE_PULSE_DIR:-}"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# Past its time limit the test ends itself, so that the root's mounts are
# still undone (a ctest time-out would kill it without its clean-up).
_bq_start_watchdog 900
started+=("$BQ_WATCHDOG_PID")

# inside CMD...: CMD in the root as its user root, with the private display
# and sound server; output to the log.
inside() {
  fresh_root_run "$root" env DISPLAY="${DISPLAY:-}" PULSE_SERVER="${PULSE_SERVER:-}" \
    DBUS_SESSION_BUS_ADDRESS=disabled: NO_AT_BRIDGE=1 "$@"
}
config=$root/root/.config
settings=$config/quillhaven
autostart=$config/autostart/com.brightquill.Brightquill.desktop
settings_digest() {
  (cd "$settings" 2>/dev/null && find . -type f -printf '%P\n' | sort | xargs -r sha256sum)
}

began=$SECONDS
echo "== A fresh minimal root"
if ! fresh_root_make "$root" >"$out/mmdebstrap.log" 2>&1; then
  tail -n 20 "$out/mmdebstrap.log"
  echo "== $BQ_SCENARIO: the fresh root could not be made"
  exit 1
fi
echo "   made in $((SECONDS - began)) s"
cp "$deb" "$root/tmp/"

echo "== apt-get install ./$(basename "$deb")"
installing=$SECONDS
inside apt-get update -q >"$out/apt-update.log" 2>&1
# Depends alone must do: recommended packages are left out.
install_package() {
  inside env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    "/tmp/$(basename "$deb")" >"$out/apt-install.log" 2>&1 </dev/null
}
bq_check "apt-get install ends with code 0" install_package
echo "   installed in $((SECONDS - installing)) s; apt: $(grep -E '^Need to get|newly installed' \
  "$out/apt-install.log" | paste -sd';')"
inside dpkg -L brightquill | while read -r path; do
  [ -f "$root$path" ] && echo "$path"
done | sort >"$out/installed-files"
bq_check_eq "the package's files are installed" \
  "/usr/bin/brightquill /usr/share/applications/com.brightquill.Brightquill.desktop" \
  "$(grep -E 'bin/brightquill$|applications/' "$out/installed-files" | paste -sd' ')"

echo "== brightquill starts, greets and shows its window"
start_private_xvfb "$out/xvfb.log" || { echo "Xvfb did not start"; exit 1; }
started+=("$PRIVATE_XVFB_PID")
start_private_pulse "$out/pulse.log"
started+=("$PRIVATE_PULSE_PID")
fresh_root_bind "$root" /tmp/.X11-unix /tmp/.X11-unix
fresh_root_bind "$root" "$PRIVATE_PULSE_DIR" "$PRIVATE_PULSE_DIR"
# A user's alarms from before: A at 12:04 p.m., armed.
mkdir -p "$settings"
printf '\x0d\x05' >"$settings/qhsettoring1.txt"
printf 'A     ' >"$settings/qhsettoarm.txt"
parec -d heard.monitor --format=s16le --rate=22050 --channels=1 >"$out/heard.raw" \
  2>"$out/parec.log" &
recorder=$!
started+=("$recorder")
# Started straight through chroot (not fresh_root_run) so that it runs while
# this script looks at it; chroot and env exec, so the PID is the clock's.
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  DISPLAY="$DISPLAY" PULSE_SERVER="$PULSE_SERVER" DBUS_SESSION_BUS_ADDRESS=disabled: \
  NO_AT_BRIDGE=1 brightquill >"$out/program.log" 2>&1 &
clock=$!
started+=("$clock")
window=""
for _ in $(seq 600); do
  window=$(xdotool search --name '^BQC \(www' 2>/dev/null | head -n1)
  [ -n "$window" ] && break
  sleep 0.1
done
bq_check "the window appears" test -n "$window"
kill "$recorder" 2>/dev/null
wait "$recorder" 2>/dev/null
rms=$(sox -t raw -r 22050 -e signed -b 16 -c 1 "$out/heard.raw" -n stat 2>&1 |
  awk '/^RMS +amplitude/ { print $3 }')
length=$(sox -t raw -r 22050 -e signed -b 16 -c 1 "$out/heard.raw" -n stat 2>&1 |
  awk '/^Length/ { print $3 }')
echo "   heard before the window: $length s, RMS amplitude $rms"
bq_check "the greeting is heard (RMS amplitude above 0.02)" \
  awk -v rms="${rms:-0}" 'BEGIN { exit !(rms > 0.02) }'
wm_class=$(xprop -id "${window:-0}" WM_CLASS 2>/dev/null | sed -n 's/.*", "\(.*\)"$/\1/p')
bq_check_eq "the desktop entry's StartupWMClass is the window's class" \
  "StartupWMClass=$wm_class" \
  "$(grep '^StartupWMClass=' "$root/usr/share/applications/com.brightquill.Brightquill.desktop")"
bq_screenshot "$out/window.png"
kill "$clock" 2>/dev/null
wait "$clock" 2>/dev/null
# A theme icon that cannot be loaded, or a missing library, shows here first.
bq_check_eq "it printed nothing on stderr" "" "$(cat "$out/program.log")"

echo "== The command line"
bq_check_eq "--version" "Brightquill 1.00" "$(inside brightquill --version 2>&1)"
inside brightquill --bogus >"$out/bogus.out" 2>"$out/bogus.err"
bq_check_eq "an unknown argument ends with code 2" 2 "$?"
bq_check_eq "and one line on stderr, nothing on stdout" "1 0" \
  "$(wc -l <"$out/bogus.err") $(wc -c <"$out/bogus.out")"
bq_check "--autostart on ends with code 0" inside brightquill --autostart on
bq_check_eq "it makes the user's autostart entry, which starts the installed program" \
  "Exec=brightquill" "$(grep '^Exec=' "$autostart" 2>/dev/null)"
bq_check "the autostart entry is a valid desktop entry" desktop-file-validate "$autostart"
bq_check "--autostart off ends with code 0" inside brightquill --autostart off
bq_check "it removes the entry" test ! -e "$autostart"
alarms_before=$(settings_digest)

echo "== apt-get remove brightquill"
remove_package() {
  inside env DEBIAN_FRONTEND=noninteractive apt-get remove -y brightquill \
    >"$out/apt-remove.log" 2>&1 </dev/null
}
bq_check "apt-get remove ends with code 0" remove_package
left=$(while read -r path; do [ -e "$root$path" ] && echo "$path"; done <"$out/installed-files")
bq_check_eq "every installed file is gone ($(wc -l <"$out/installed-files") files)" "" "$left"
bq_check_eq "~/.config/quillhaven keeps every byte" "$alarms_before" "$(settings_digest)"
bq_check "and still holds the alarms" test -s "$settings/qhsettoring1.txt"

echo "== The root is removed; what was bound in keeps its files"
bq_check "fresh_root_remove ends with code 0" fresh_root_remove "$root"
bq_check "the root is gone" test ! -e "$root"
bq_check "the display's socket is still there" test -S "/tmp/.X11-unix/X${DISPLAY#:}"
bq_check "the sound server's socket is still there" test -S "$PRIVATE_PULSE_DIR/native"

echo "   the whole run took $((SECONDS - began)) s"
bq_finish
