"""Idle cost: the three programs side by side with no alarm ringing, 10 s to
settle, then 30 s measured: CPU % of one core (wineserver in its own
column), wakeups per second summed over all threads, PSS and RSS."""
import os
import subprocess
import time

import procstat
from programs import clear_settings
from report import row, not_measured

SETTLE_S = 10
MEASURE_S = 30


def _wine_cost(cost, memory, server):
    pss, rss = memory
    return (f"CPU {cost['cpu_percent']:.2f} % + wineserver {server['cpu_percent']:.2f} %, "
            f"{cost['wakeups']:.1f} wakeups/s (wineserver {server['wakeups']:.1f}), "
            f"PSS {pss / 1024:.1f} MiB, RSS {rss / 1024:.1f} MiB")


def _native_threads(pid, before, after, seconds):
    """Wakeups per second of the native clock's threads: the start-up thread
    (the process's first), then the window's and the clock's, the last two
    threads under the program's own name, started in that order; the rest
    (the toolkit's own threads) together."""
    wakeups = {tid: (after["threads"][tid][1] - before["threads"].get(tid, ("", 0))[1]) / seconds
               for tid in after["threads"]}
    name = after["threads"][pid][0]
    ours = sorted(tid for tid, (thread, _) in after["threads"].items()
                  if thread == name and tid != pid)
    shares = {"start-up thread": wakeups.pop(pid)}
    if len(ours) >= 2:
        shares["window"] = wakeups.pop(ours[-2])
        shares["clock"] = wakeups.pop(ours[-1])
    shares["other threads"] = sum(wakeups.values())
    return shares


def measure(world, exe_prefix, reference_prefix):
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    running = {}
    native = world.native("brightquill")
    if os.path.exists(native):
        clear_settings(world.native_settings("idle"))
        running["native"] = (world.start([native], world.native_env("idle"), **quiet), None)
    for name, prefix, program in (
            ("exe", exe_prefix, "brightquill.exe"),
            ("reference", reference_prefix, "tests/benchmarks/bq_reference_dialog.exe")):
        clear_settings(world.wine_settings(prefix))
        # The Wine loader becomes the program: the PID stays the same.
        running[name] = (world.start(["wine", world.windows(program)], world.wine_env(prefix),
                                     **quiet), prefix)

    time.sleep(SETTLE_S)
    pids = {name: process.pid for name, (process, _) in running.items()}
    for name, (_, prefix) in running.items():
        if prefix is not None:
            pids[name + " wineserver"] = procstat.wineserver_of(prefix)
    for name, pid in pids.items():
        if pid is None or not procstat.alive(pid):
            raise RuntimeError(f"idle: {name} is not running")
    before = {name: procstat.snapshot(pid) for name, pid in pids.items()}
    start = time.monotonic()
    time.sleep(MEASURE_S)
    after = {name: procstat.snapshot(pid) for name, pid in pids.items()}
    seconds = time.monotonic() - start
    memory = {name: procstat.memory_kib(pid) for name, pid in pids.items()}
    cost = {name: procstat.cost(before[name], after[name], seconds) for name in pids}
    for name, (process, prefix) in running.items():
        world.stop(process)
        if prefix is not None:
            world.end_wine(prefix)

    rows = []
    figure = f"Idle, {MEASURE_S} s after {SETTLE_S} s"
    native = "brightquill (native)"
    if "native" in cost:
        native_cost, (pss, rss) = cost["native"], memory["native"]
        rows.append(row(f"{figure}: CPU, % of one core", native,
                        f"{native_cost['cpu_percent']:.2f} %", "<= 0.2 %",
                        native_cost["cpu_percent"] <= 0.2))
        shares = _native_threads(pids["native"], before["native"], after["native"], seconds)
        breakdown = ", ".join(f"{name} {value:.1f}" for name, value in shares.items())
        rows.append(row(f"{figure}: wakeups per second", native,
                        f"{native_cost['wakeups']:.1f}: {breakdown}", "<= 15",
                        native_cost["wakeups"] <= 15))
        rows.append(row(f"{figure}: memory", native,
                        f"PSS {pss / 1024:.1f} MiB, RSS {rss / 1024:.1f} MiB", "PSS <= 40 MiB",
                        pss <= 40 * 1024))
    else:
        rows.append(not_measured(figure, native, "no native program",
                                 "CPU <= 0.2 %, <= 15 wakeups/s, PSS <= 40 MiB"))
    total = {}
    for name, label in (("exe", "brightquill.exe, Wine"), ("reference", "reference dialog, Wine")):
        server = cost[name + " wineserver"]
        total[name] = cost[name]["cpu_percent"] + server["cpu_percent"]
        rows.append(row(figure, label, _wine_cost(cost[name], memory[name], server)))
    more = (total["exe"] / total["reference"] - 1) * 100 if total["reference"] > 0 else float("inf")
    rows.append(row("Idle CPU with wineserver, against the reference", "brightquill.exe, Wine",
                    f"{total['exe']:.2f} % against {total['reference']:.2f} %: {more:+.1f} %",
                    "<= +10 %", more <= 10))
    return rows
