"""Runs every measurement of scripts/bench and writes the table.

    bench.py NATIVE_BUILD WINDOWS_BUILD OUTPUT.md
"""
import os
import subprocess
import sys
import time
import traceback

import idle
import programs
import punctuality
import report
import size
import startup
import throughput

NOTES = [
    "Idle: the native `brightquill`, `brightquill.exe` and the reference run side by side on one "
    "private Xvfb, each Wine program in a Wine prefix of its own (so that each has its own "
    "wineserver); no alarm is armed. CPU time and context switches are summed over all threads "
    "from /proc/PID/task/*/schedstat and status; PSS and RSS come from /proc/PID/smaps_rollup at "
    "the end. The reference (`tests/benchmarks/windows/reference_dialog.cpp`) is a bare dialog "
    "of the main window's size whose only loop is `PeekMessageW` + `Sleep(1)`.",
    "Wakeups of the native clock: the start-up thread looks at the quit flag every 500 ms, and "
    "each clock tick pauses 500 ms and then 1 ms in its idle pump; these plain pauses alone are "
    "6 wakeups/s. Each second the time box's new text is handed to the window's thread, and the "
    "blinking caret of the focused time box wakes it too. Beside the total, each thread's share: "
    "the start-up thread (the process's first), the window's and the clock's (the last two "
    "threads under the program's own name, started in that order), and the toolkit's own "
    "threads together.",
    "Native runs have a private session bus with the accessibility bus on it, as on a desktop, "
    "and no sound server, so speech is silent; Wine runs use the end-to-end scenarios' recording "
    "voice, set to take no time for start-up and idle.",
    "Start-up: `bq_time_to_map` starts the program and waits for the map of its top-level "
    "window (a SubstructureNotify event on the root window). The Wine programs share one running "
    "wineserver. The three programs take turns; one warm-up start of each is not counted.",
    "Punctuality: alarm A is armed through its settings files for the first minute that starts "
    "at least 15 s later. Native: a timed build of the same sources logs each update of the time "
    "box and of the \"Text to Speak\" box once the window has taken it, and its silent voice logs "
    "each utterance (300 ms each). Wine: `bq_tick_probe.exe` puts a marker into the time box and "
    "notes when a tick replaces it, and notes when the \"Text to Speak\" box changes; the recording "
    "voice logs each utterance (300 ms each). The announcement counts from when its text is "
    "shown; speaking follows after the fixed 250 ms pause before each ring's text. Intervals run "
    "over the whole watch, ring announcements included.",
    "Throughput: Google Benchmark, the best of 9 repetitions run in random order (noise only adds "
    "time), MB/s from CPU time. The cost per byte at 64 KiB against 4 KiB is measured paired: each "
    "iteration extracts 64 KiB as one page and as sixteen 4 KiB pages, one right after the other "
    "(the median of 9 repetitions). The fetch is one whole `FetchSayingPage` from a server on "
    "127.0.0.1 that sends a 64 KiB response and closes.",
    "Size: stripped copies; the DLLs and shared libraries are those named in the program's "
    "import table or NEEDED entries (`objdump -p`).",
]


def main(native_build, windows_build, output):
    repo = os.getcwd()
    began = time.monotonic()
    world = programs.World(repo, os.path.abspath(native_build), os.path.abspath(windows_build),
                           os.path.join(repo, "build", "bench"))
    rows = []
    try:
        world.start_xvfb()
        world.start_accessibility_bus()
        print("== Preparing two Wine prefixes", flush=True)
        quick = world.make_prefix("a", voice_ms=0)
        spoken = world.make_prefix("b")
        # The copies on disk before anything is timed.
        subprocess.run(["sync"], check=True)
        for name, step in (
                ("Size", lambda: size.measure(world)),
                ("Throughput", lambda: throughput.measure(world)),
                ("Start-up", lambda: startup.measure(world, quick)),
                ("Idle (40 s)", lambda: idle.measure(world, quick, spoken)),
                ("Punctuality (about 1 to 2 min)", lambda: punctuality.measure(world, spoken))):
            print(f"== {name}", flush=True)
            try:
                found = step()
            except Exception as error:  # one failed step must not lose the others
                traceback.print_exc()
                found = [report.not_measured(name, "-", f"failed: {error}", "a result")]
            print(report.table(found), flush=True)
            rows += found
    finally:
        world.cleanup()
    report.write_markdown(output, rows, NOTES, time.monotonic() - began)
    print(f"\n== All figures (also in {output})\n")
    print(report.table(rows))
    missed = [r for r in rows if r["result"] == "MISS"]
    print(f"\n{len(rows)} figures, {len(missed)} missing their target.")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
