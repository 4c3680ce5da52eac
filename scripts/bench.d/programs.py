"""The programs that are measured and the worlds they run in: a private Xvfb,
private Wine prefixes, private settings folders. Every process started here
is remembered and ended by its PID (Wine prefixes by their wineserver)."""
import os
import shutil
import signal
import subprocess
import time

import procstat

WINE_ENV = {
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
}
# The recording voice's class key in the test prefixes (tests/e2e/lib.sh).
VOICE_KEY = r"Software\\Classes\\CLSID\\{54781364-7532-4827-8C3B-20FDDAD91BD8}"
MAIN_TITLE = "BQC"
REFERENCE_TITLE = "Idle reference"


class World:
    def __init__(self, repo, native_build, windows_build, work):
        self.repo = repo
        self.native_build = native_build
        self.windows_build = windows_build
        self.work = work
        self.started = []  # Popen objects, ended by PID at the end
        self.prefixes = []
        self.display = None
        self.accessibility = None  # the AT-SPI bus launcher
        os.makedirs(work, exist_ok=True)

    # ---- paths ------------------------------------------------------------
    def native(self, name):
        return os.path.join(self.native_build, name)

    def windows(self, name):
        return os.path.join(self.windows_build, name)

    # ---- processes ----------------------------------------------------------
    def start(self, command, env, **kwargs):
        process = subprocess.Popen(command, env=env, **kwargs)
        self.started.append(process)
        return process

    def stop(self, process):
        if process.poll() is None:
            process.send_signal(signal.SIGKILL)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass

    def stop_group(self, process):
        """Ends a process started in a session of its own, with everything
        in that session."""
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.stop(process)

    def start_xvfb(self):
        read_end, write_end = os.pipe()
        xvfb = self.start(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            dict(os.environ), pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as answer:
            number = answer.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"
        return xvfb

    def start_accessibility_bus(self):
        """The AT-SPI bus on the session bus that scripts/bench made, as on a
        desktop; GTK programs connect to it."""
        launcher = "/usr/libexec/at-spi-bus-launcher"
        if os.path.exists(launcher) and os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
            self.accessibility = self.start([launcher, "--launch-immediately"], dict(os.environ),
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.5)

    def cleanup(self):
        for prefix in self.prefixes:
            self.end_wine(prefix)
        if self.accessibility is not None:
            # Its bus and registry daemon outlive it unless ended too.
            for pid in reversed(procstat.descendants(self.accessibility.pid)):
                try:
                    os.kill(pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for process in reversed(self.started):
            self.stop(process)

    # ---- the native program ----------------------------------------------
    def native_env(self, name, extra=None):
        """A private settings folder (which holds its one-clock lock), no
        sound server (speech is silent)."""
        config = os.path.join(self.work, "config", name)
        env = dict(os.environ, DISPLAY=self.display, XDG_CONFIG_HOME=config,
                   PULSE_SERVER="unix:/nonexistent")
        env.update(extra or {})
        return env

    def native_settings(self, name):
        return os.path.join(self.work, "config", name, "quillhaven")

    # ---- Wine -------------------------------------------------------------
    def make_prefix(self, name, voice_ms=None):
        """A copy of the scenarios' template prefix (booted once per build),
        whose "SAPI.SpVoice" is the recording voice, with its log in
        drive_c/bq-e2e/speech.log; each utterance takes voice_ms (its own
        default when None). A copy made by an earlier run of the same
        template is used again."""
        template = os.path.join(self.windows_build, "e2e-prefix-template")
        subprocess.run(
            ["bash", "-c", '. tests/e2e/lib.sh; BQ_BUILD_DIR=$1; _bq_make_template', "_",
             self.windows_build],
            cwd=self.repo, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=dict(os.environ, **WINE_ENV), timeout=300)
        if not os.path.exists(os.path.join(template, "system.reg")):
            raise RuntimeError(f"no Wine prefix template in {template}")
        prefix = os.path.join(self.work, "prefix-" + name)
        self.prefixes.append(prefix)
        stamp = os.path.join(prefix, "bq-bench-prefix")
        wanted = " ".join(sorted(f for f in os.listdir(template) if f.startswith("bq-template-")))
        wanted += f" voice {voice_ms}"
        if os.path.exists(stamp) and open(stamp).read() == wanted:
            self.end_wine(prefix)
        else:
            shutil.rmtree(prefix, ignore_errors=True)
            subprocess.run(["cp", "-a", template, prefix], check=True)
            if voice_ms is not None:
                self.set_voice_ms(prefix, voice_ms)
            with open(stamp, "w") as file:
                file.write(wanted)
        shutil.copy(self.windows("tests/e2e/recording_voice.dll"),
                    os.path.join(prefix, "drive_c", "bq-e2e"))
        return prefix

    def wine_env(self, prefix):
        return dict(os.environ, DISPLAY=self.display, WINEPREFIX=prefix, **WINE_ENV)

    def set_voice_ms(self, prefix, ms):
        """How long each utterance of the recording voice takes."""
        with open(os.path.join(prefix, "system.reg"), "a") as registry:
            registry.write(f'\n[{VOICE_KEY}] 0\n"SpeakMs"="{ms}"\n')

    def wine_settings(self, prefix):
        return os.path.join(prefix, "drive_c", "quillhaven")

    def speech_log(self, prefix):
        return os.path.join(prefix, "drive_c", "bq-e2e", "speech.log")

    def keep_wineserver(self, prefix):
        subprocess.run(["wineserver", "-p"], env=self.wine_env(prefix), check=True, timeout=30)

    def end_wine(self, prefix):
        """Ends every process of the prefix through its own wineserver."""
        env = dict(os.environ, WINEPREFIX=prefix, **WINE_ENV)
        for command in (["wineserver", "-k"], ["wineserver", "-w"]):
            try:
                subprocess.run(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=30)
            except subprocess.TimeoutExpired:
                pass


def write_alarm_a(folder, hour, minute):
    """Settings with only alarm A armed, at hour:minute."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(os.path.join(folder, "qhsettoarm.txt"), "wb") as file:
        file.write(b"A     ")
    with open(os.path.join(folder, "qhsettoring1.txt"), "wb") as file:
        file.write(bytes([hour + 1, minute + 1]))


def clear_settings(folder):
    shutil.rmtree(folder, ignore_errors=True)
