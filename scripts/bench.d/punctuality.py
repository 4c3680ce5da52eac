"""Punctuality: alarm A armed through its settings files for the coming
minute. How late its first announcement comes after that minute begins,
and the interval between two updates of the time box (the clock's ticks).

The native clock is the timed build: the same program with every update of
the time box and the "Text to Speak" box logged, and a silent voice that
logs each utterance. brightquill.exe runs under Wine with the scenarios'
recording voice (which logs each utterance) while bq_tick_probe.exe watches
its window."""
import math
import os
import statistics
import subprocess
import time

from programs import write_alarm_a
from report import row, not_measured

ALARM_TEXT = "alarm 1 active."  # alarm A's text when none is stored
LEAD_S = 15  # the programs start at least this long before the minute
MIN_TICKS_S = 66  # >= 120 intervals at about 501 ms
AFTER_RING_S = 10
SPEAK_MS = 300


def _ring_minute():
    """Unix seconds of the first minute start at least LEAD_S from now."""
    return math.ceil((time.time() + LEAD_S) / 60) * 60


def _events(lines):
    """{"tick": [ms], "shown": [(ms, text)], "speak": [(ms, text)]}."""
    events = {"tick": [], "shown": [], "speak": []}
    for line in lines:
        parts = line.rstrip("\n").split(" ", 2)
        if len(parts) < 2 or parts[0] not in events:
            continue
        if parts[0] == "tick":
            events["tick"].append(float(parts[1]))
        else:
            events[parts[0]].append((float(parts[1]), parts[2] if len(parts) > 2 else ""))
    return events


def _speech_log(path):
    """The recording voice's log as speak events: START_MS END_MS THREAD
    VISIBLE FLAGS TEXT."""
    if not os.path.exists(path):
        return []
    speaks = []
    with open(path, encoding="utf-8", errors="replace") as log:
        for line in log:
            parts = line.rstrip("\n").split(" ", 5)
            if len(parts) == 6:
                speaks.append((float(parts[0]), parts[5]))
    return speaks


def _first_after(events, text, since_ms):
    return next((ms for ms, said in events if said == text and ms >= since_ms - 1000), None)


def _rows(program, events, ring_ms):
    rows = []
    shown = _first_after(events["shown"], ALARM_TEXT, ring_ms)
    spoken = _first_after(events["speak"], ALARM_TEXT, ring_ms)
    figure = "First announcement after its minute begins"
    if shown is None:
        rows.append(not_measured(figure, program, "the alarm was not announced", "<= 600 ms"))
    else:
        late = shown - ring_ms
        speech = f", speech starts at {spoken - ring_ms:.0f} ms" if spoken is not None else ""
        rows.append(row(figure, program, f"text shown at {late:.0f} ms{speech}", "<= 600 ms",
                        late <= 600))
    ticks = sorted(events["tick"])
    intervals = sorted(b - a for a, b in zip(ticks, ticks[1:]))
    figure = "Tick interval (time box updates)"
    if len(intervals) < 120:
        rows.append(not_measured(figure, program, f"{len(intervals)} intervals seen",
                                 "median 496 to 506 ms"))
    else:
        median = statistics.median(intervals)
        p95 = intervals[math.ceil(0.95 * len(intervals)) - 1]
        rows.append(row(figure, program,
                        f"median {median:.1f} ms, p95 {p95:.1f} ms over {len(intervals)}",
                        "median 496 to 506 ms", abs(median - 501) <= 5))
    return rows


def measure(world, prefix):
    """prefix: a Wine prefix whose recording voice takes SPEAK_MS."""
    ring_at = _ring_minute()
    local = time.localtime(ring_at)
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    log = os.path.join(world.work, "timing-native.log")
    if os.path.exists(log):
        os.remove(log)
    timed = world.native("tests/benchmarks/brightquill_timed")
    native = None
    if os.path.exists(timed):
        write_alarm_a(world.native_settings("punctuality"), local.tm_hour, local.tm_min)
        native = world.start([timed], world.native_env(
            "punctuality", {"BQ_TIMING_LOG": log, "BQ_SPEAK_MS": str(SPEAK_MS)}), **quiet)
    write_alarm_a(world.wine_settings(prefix), local.tm_hour, local.tm_min)
    speech_log = world.speech_log(prefix)
    if os.path.exists(speech_log):
        os.remove(speech_log)
    started = time.time()
    env = world.wine_env(prefix)
    exe = world.start(["wine", world.windows("brightquill.exe")], env, **quiet)

    until = max(ring_at + AFTER_RING_S, time.time() + MIN_TICKS_S + 3)
    # A file, not a pipe: Wine processes the probe starts could hold a pipe open.
    probe_log = os.path.join(world.work, "tick-probe.log")
    with open(probe_log, "w") as output:
        probe = world.start(["wine", world.windows("tests/benchmarks/bq_tick_probe.exe"),
                             str(int((until - time.time()) * 1000))], env,
                            stdout=output, stderr=subprocess.DEVNULL)
    probe.wait(timeout=until - time.time() + 60)
    time.sleep(max(0.0, until - time.time()))
    for process in (native, exe):
        if process is not None:
            world.stop(process)
    world.end_wine(prefix)

    ring_ms = ring_at * 1000.0
    rows = []
    if native is not None:
        with open(log) as lines:
            events = _events(lines)
        # The ticks of the first two seconds belong to the start-up.
        events["tick"] = [t for t in events["tick"] if t >= (started + 2) * 1000]
        rows += _rows("brightquill (native, timed build)", events, ring_ms)
    else:
        rows.append(not_measured("Punctuality", "brightquill (native)", "no native program",
                                 "<= 600 ms; median tick 496 to 506 ms"))
    with open(probe_log) as lines:
        events = _events(lines)
    events["speak"] = _speech_log(speech_log)
    rows += _rows("brightquill.exe, Wine", events, ring_ms)
    return rows
