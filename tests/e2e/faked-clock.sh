# Sourced, not run. A wall clock that a test moves under a running program,
# through libfaketime (its own clocks and sleeps stay true):
#   start_faked_clock FILE   sets FAKED_CLOCK_ENV (VAR=value ..., for env),
#                            with the clock at the true time
#   move_faked_clock_to UTC  the clock shows UTC (Unix seconds) now, at once
# The library's thread-safe build: with the plain one, threads that read the
# clock at once now and then got no offset (here: a tick saw the true time
# between two of the moved one's, and Wine's Sleep then waited for a day).
faked_clock_library=$(dpkg -L libfaketime 2>/dev/null | grep -m1 '/libfaketimeMT\.so\.1$')
start_faked_clock() {
  FAKED_CLOCK_FILE=$1
  echo +0 >"$1"
  FAKED_CLOCK_ENV=(LD_PRELOAD="$faked_clock_library" FAKETIME_TIMESTAMP_FILE="$1"
    FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1)
}
move_faked_clock_to() {  # the file is replaced whole, never seen half written
  echo "+$(($1 - $(date +%s)))" >"$FAKED_CLOCK_FILE.new" && mv "$FAKED_CLOCK_FILE.new" "$FAKED_CLOCK_FILE"
}
