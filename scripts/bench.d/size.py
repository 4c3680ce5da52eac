"""Sizes of the stripped programs and the shared libraries they load."""
import os
import subprocess
import tempfile

from report import row, not_measured


def _stripped_size(strip, program):
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, os.path.basename(program))
        subprocess.run([strip, "-o", copy, program], check=True)
        return os.path.getsize(copy)


def _imports(program, marker):
    dump = subprocess.run(["objdump", "-p", program], check=True, capture_output=True,
                          text=True).stdout
    return [line.split(marker, 1)[1].strip() for line in dump.splitlines() if marker in line]


def measure(world):
    rows = []
    exe = world.windows("brightquill.exe")
    size = _stripped_size("x86_64-w64-mingw32-strip", exe)
    rows.append(row("Size, stripped", "brightquill.exe", f"{size / 1024:.0f} KiB", "<= 500 KiB",
                    size <= 500 * 1024))
    dlls = _imports(exe, "DLL Name:")
    rows.append(row("Imported DLLs", "brightquill.exe", f"{len(dlls)}: " + ", ".join(dlls)))
    native = world.native("brightquill")
    if os.path.exists(native):
        size = _stripped_size("strip", native)
        rows.append(row("Size, stripped", "brightquill (native)", f"{size / 1024:.0f} KiB"))
        needed = _imports(native, "NEEDED")
        rows.append(row("Shared libraries needed", "brightquill (native)",
                        f"{len(needed)}: " + ", ".join(needed)))
    else:
        rows.append(not_measured("Size, stripped", "brightquill (native)", "no native program"))
    return rows
