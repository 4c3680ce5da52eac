"""Start-up: from starting a program to its window being mapped, speech
silent, median of 5 (after one start that warms the caches, not counted)."""
import os
import statistics
import subprocess

from programs import MAIN_TITLE, REFERENCE_TITLE, clear_settings
from report import row, not_measured

RUNS = 5


def _time_to_map(world, title, command, env):
    result = subprocess.run([world.native("tests/benchmarks/bq_time_to_map"), title, "30000"] +
                            command, env=env, capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        raise RuntimeError(f"{command[-1]}: {result.stderr.strip()}")
    return float(result.stdout)


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
            if run > 0:
                times[name].append(ms)
    world.end_wine(prefix)

    median = {name: statistics.median(values) for name, values in times.items()}
    spread = {name: f"{min(v):.0f} to {max(v):.0f}" for name, v in times.items()}
    rows = []
    if "native" in median:
        rows.append(row("Start-up to window mapped, median of 5", "brightquill (native)",
                        f"{median['native']:.0f} ms ({spread['native']})", "<= 300 ms",
                        median["native"] <= 300))
    else:
        rows.append(not_measured("Start-up to window mapped, median of 5", "brightquill (native)",
                                 "no native program", "<= 300 ms"))
    late = median["exe"] - median["reference"]
    rows.append(row("Start-up to window mapped, median of 5", "brightquill.exe, Wine",
                    f"{median['exe']:.0f} ms ({spread['exe']}), {late:+.0f} ms against the "
                    "reference", "<= reference + 300 ms", late <= 300))
    rows.append(row("Start-up to window mapped, median of 5", "reference dialog, Wine",
                    f"{median['reference']:.0f} ms ({spread['reference']})"))
    return rows
