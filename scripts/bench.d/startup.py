"""Start-up: from starting a program to its window being mapped, speech
silent, median of 5 (after one start that warms the caches, not counted)."""
import os
import statistics
import subprocess

from programs import MAIN_TITLE, REFERENCE_TITLE, clear_settings
from report import row, not_measured

RUNS = 5
FIGURE = "Start-up to window mapped, median of 5"


def _time_to_map(world, title, command, env):
    """Milliseconds to the mapped window; None when it did not come within
    30 s (the timer and the program it started are then ended by PID)."""
    timer = world.start([world.native("tests/benchmarks/bq_time_to_map"), title, "30000"] +
                        command, env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                        start_new_session=True)
    try:
        output, errors = timer.communicate(timeout=40)
    except subprocess.TimeoutExpired:
        world.stop_group(timer)
        print(f"   no window from {command[-1]} within 40 s", flush=True)
        return None
    if timer.returncode != 0:
        print(f"   {command[-1]}: {errors.strip()}", flush=True)
        return None
    return float(output)


def measure(world, prefix):
    """prefix: a Wine prefix for brightquill.exe and the reference, whose
    voice is set to take no time."""
    native = world.native("brightquill")
    programs = []
    if os.path.exists(native):
        programs.append(("native", MAIN_TITLE, [native], world.native_env("startup")))
    wine_env = world.wine_env(prefix)
    programs.append(("exe", MAIN_TITLE, ["wine", world.windows("brightquill.exe")], wine_env))
    programs.append(("reference", REFERENCE_TITLE,
                     ["wine", world.windows("tests/benchmarks/bq_reference_dialog.exe")], wine_env))

    # One wineserver for all the Wine starts, as on a desktop where Wine runs.
    world.keep_wineserver(prefix)
    times = {name: [] for name, *_ in programs}
    for run in range(RUNS + 1):
        # The three in turn, so that the machine's noise falls on each alike.
        for name, title, command, env in programs:
            clear_settings(world.native_settings("startup"))
            clear_settings(world.wine_settings(prefix))
            ms = _time_to_map(world, title, command, env)
            if ms is None:  # once more: a rare start under Wine hangs
                ms = _time_to_map(world, title, command, env)
            if ms is not None:
                print(f"   {name}{' (warm-up)' if run == 0 else ''}: {ms:.0f} ms", flush=True)
            if run > 0 and ms is not None:
                times[name].append(ms)
    world.end_wine(prefix)

    times = {name: values for name, values in times.items() if len(values) == RUNS}
    median = {name: statistics.median(values) for name, values in times.items()}
    spread = {name: f"{min(v):.0f} to {max(v):.0f}" for name, v in times.items()}
    late_why = "a window did not appear within 30 s"
    rows = []
    if "native" in median:
        rows.append(row(FIGURE, "brightquill (native)",
                        f"{median['native']:.0f} ms ({spread['native']})", "<= 300 ms",
                        median["native"] <= 300))
    else:
        why = late_why if os.path.exists(native) else "no native program"
        rows.append(not_measured(FIGURE, "brightquill (native)", why, "<= 300 ms"))
    if "exe" not in median or "reference" not in median:
        return rows + [not_measured(FIGURE, "brightquill.exe, Wine", late_why,
                                    "<= reference + 300 ms")]
    late = median["exe"] - median["reference"]
    rows.append(row(FIGURE, "brightquill.exe, Wine",
                    f"{median['exe']:.0f} ms ({spread['exe']}), {late:+.0f} ms against the "
                    "reference", "<= reference + 300 ms", late <= 300))
    rows.append(row(FIGURE, "reference dialog, Wine",
                    f"{median['reference']:.0f} ms ({spread['reference']})"))
    return rows
