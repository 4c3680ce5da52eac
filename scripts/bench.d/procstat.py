"""What a running process costs, read from /proc: CPU time and context
switches summed over all of its threads, and its memory (PSS and RSS)."""
import os


def _threads(pid):
    try:
        return os.listdir(f"/proc/{pid}/task")
    except OSError:
        return []


def _read(path):
    try:
        with open(path) as file:
            return file.read()
    except OSError:
        return ""


def cpu_ns(pid):
    """Nanoseconds on a CPU, all threads (their scheduler statistics)."""
    total = 0
    for tid in _threads(pid):
        fields = _read(f"/proc/{pid}/task/{tid}/schedstat").split()
        if fields:
            total += int(fields[0])
    return total


def _thread_switches(pid, tid):
    total = 0
    for line in _read(f"/proc/{pid}/task/{tid}/status").splitlines():
        if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
            total += int(line.split()[1])
    return total


def context_switches(pid):
    """Voluntary and involuntary context switches, all threads."""
    return sum(_thread_switches(pid, tid) for tid in _threads(pid))


def thread_switches(pid):
    """Context switches of each thread: {tid: (its name, switches)}."""
    return {int(tid): (_read(f"/proc/{pid}/task/{tid}/comm").strip(), _thread_switches(pid, tid))
            for tid in _threads(pid)}


def memory_kib(pid):
    """(PSS, RSS) in KiB from smaps_rollup."""
    values = {}
    for line in _read(f"/proc/{pid}/smaps_rollup").splitlines():
        name, _, rest = line.partition(":")
        if name in ("Pss", "Rss"):
            values[name] = int(rest.split()[0])
    return values.get("Pss", 0), values.get("Rss", 0)


def alive(pid):
    state = _read(f"/proc/{pid}/stat").rpartition(")")[2].split()
    return bool(state) and state[0] != "Z"


def snapshot(pid):
    return {"cpu_ns": cpu_ns(pid), "switches": context_switches(pid),
            "threads": thread_switches(pid)}


def cost(before, after, seconds):
    """CPU % of one core and wakeups per second between two snapshots."""
    return {
        "cpu_percent": (after["cpu_ns"] - before["cpu_ns"]) / (seconds * 1e9) * 100.0,
        "wakeups": (after["switches"] - before["switches"]) / seconds,
    }


def descendants(pid):
    """PIDs of the processes that pid started, and theirs, parents first."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            fields = _read(f"/proc/{entry}/stat").rpartition(")")[2].split()
            if len(fields) > 1:
                children.setdefault(int(fields[1]), []).append(int(entry))

    def below(parent):
        found = []
        for child in children.get(parent, []):
            found += [child] + below(child)
        return found

    return below(pid)


def wine_processes(prefix):
    """PIDs of the Wine processes (programs and wineserver) of a prefix, by
    the WINEPREFIX in their environment; {pid: executable path}."""
    found = {}
    wanted = f"WINEPREFIX={prefix}".encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as file:
                if wanted not in file.read().split(b"\0"):
                    continue
            exe = os.readlink(f"/proc/{entry}/exe")
        except OSError:
            continue
        if "wine" in os.path.basename(exe):
            found[int(entry)] = exe
    return found


def wineserver_of(prefix):
    for pid, exe in wine_processes(prefix).items():
        if "wineserver" in os.path.basename(exe):
            return pid
    return None
