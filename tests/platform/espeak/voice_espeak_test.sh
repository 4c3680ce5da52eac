#!/usr/bin/env bash
# The espeak-ng voice as a listener hears it: through a private sound server
# whose only sink is recorded, a spoken sentence is audible and the call
# returns only after it has been played; two threads speaking at once take
# turns; with no sound server, or no voice data, a call returns at once.
# Usage: voice_espeak_test.sh SPEAK_TIMED_PROGRAM
set -u
speak=$1
. "$(cd "$(dirname "$0")/../../../scripts" && pwd)/private-pulse.sh"

out=$(mktemp -d)
# Nothing of the sound clients lands in the user's own folders.
export HOME=$out XDG_CONFIG_HOME=$out
recorder=""
cleanup() {
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null
  if [ -n "${PRIVATE_PULSE_PID:-}" ]; then
    kill "$PRIVATE_PULSE_PID" 2>/dev/null
    wait "$PRIVATE_PULSE_PID" 2>/dev/null
  fi
  rm -rf "$out" "${PRIVATE_PULSE_DIR:-}"
}
trap cleanup EXIT

failures=0
check() {  # description, then an arithmetic condition in awk
  if awk "BEGIN { exit !($2) }"; then
    echo "ok   $1"
  else
    echo "FAIL $1 ($2)"
    failures=$((failures + 1))
  fi
}

sentence="Good morning. It is seven o'clock, time to get up."
field() { awk -v name="$1" '{ for (i = 1; i < NF; i++) if ($i == name) print $(i + 1) }' | head -n1; }

# Without a sound server or a sound card (ALSA given no devices at all), and
# without voice data (a data folder that holds none). A missing sound device
# is a normal case: nothing is printed on stderr for it.
: >"$out/no-devices.conf"
result=$(PULSE_SERVER=unix:$out/no-server ALSA_CONFIG_PATH=$out/no-devices.conf \
  timeout 20 "$speak" "$sentence" 2>"$out/no-devices.err")
check "no sound server: a voice that returns at once" \
  "$(field voice <<<"$result")+0 == 1 && $(field ms <<<"$result")+0 < 1000"
check "no sound server: nothing on stderr" "$(wc -c <"$out/no-devices.err") == 0"
# The same with ALSA's own configuration, where this machine has no sound card.
if ! grep -q '^ *[0-9]' /proc/asound/cards 2>/dev/null; then
  PULSE_SERVER=unix:$out/no-server timeout 20 "$speak" "$sentence" >/dev/null 2>"$out/no-card.err"
  check "no sound server and no sound card: nothing on stderr" "$(wc -c <"$out/no-card.err") == 0"
fi
result=$(ESPEAK_DATA_PATH=$out timeout 20 "$speak" "$sentence" 2>/dev/null)
check "no voice data: no voice, and the call returns at once" \
  "\"$(field voice <<<"$result")\" == \"0\" && $(field ms <<<"$result")+0 < 1000"

start_private_pulse "$out/pulse.log" || { echo "FAIL the sound server did not start"; exit 1; }

# hear FILE ARGS...: records the sink while the program speaks; prints the
# program's output.
hear() {
  local file=$1
  shift
  parec -d heard.monitor --format=s16le --rate=22050 --channels=1 --latency-msec=20 >"$file" &
  recorder=$!
  sleep 0.3
  timeout 30 "$speak" "$@"
  sleep 0.3
  kill "$recorder"
  wait "$recorder" 2>/dev/null
  recorder=""
}
# stat FILE NAME: a value of sox's statistics of the sound with the leading
# and trailing silence cut off.
stat() {
  sox -t raw -r 22050 -e signed -b 16 -c 1 "$1" -n \
    silence 1 0.02 1% reverse silence 1 0.02 1% reverse stat 2>&1 |
    awk -F: -v name="$2" '$1 ~ name { gsub(/ /, "", $2); print $2 }'
}

result=$(hear "$out/one.raw" "$sentence")
seconds=$(stat "$out/one.raw" '^Length')
rms=$(stat "$out/one.raw" '^RMS +amplitude')
ms=$(field ms <<<"$result")
echo "     one sentence: $seconds s heard, RMS $rms, call $ms ms"
check "a sentence is heard" "$seconds+0 > 1.2 && $rms+0 > 0.02"
check "the call returns only after the sentence was played" "$ms+0 >= $seconds * 1000 - 150"

result=$(hear "$out/two.raw" --two-threads "$sentence")
both=$(stat "$out/two.raw" '^Length')
longer=$(awk '{ print $4 }' <<<"$result" | sort -n | tail -n1)
echo "     two threads: $both s heard, calls $(awk '{ print $4 }' <<<"$result" | tr '\n' ' ')ms"
check "two threads at once: both sentences are heard, one after the other" \
  "$both+0 >= 2 * $seconds - 0.3 && $longer+0 >= $both * 1000 - 150"

[ "$failures" -eq 0 ]
