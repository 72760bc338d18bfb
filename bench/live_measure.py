#!/usr/bin/python3
"""CPU time and memory of the desktop application while it shows a live receiver.

For each scenario the script starts the program afresh on a virtual X server (no window
manager, no accessibility bus, a private HOME), connects it to a pseudo-terminal with real key
presses (F4, ctrl+a, the path, Return), shows the windows (F7 by default), lets it settle and
then measures, over a window of --seconds, the CPU time the program used (utime + stime from
/proc/PID/stat, and per thread from /proc/PID/task/*/stat) as a percentage of one core, and
its peak resident memory (VmHWM) at the end.

Scenarios:
    10hz  zedezuze-sim --rate 10 --baud 115200 on its own pseudo-terminal
    1hz   zedezuze-sim --rate 1 --baud 9600 on its own pseudo-terminal
    idle  a pseudo-terminal made here; nothing is ever written to it

Usage: live_measure.py [--app PROGRAM] [--sim PROGRAM] [--seconds N] [--settle S]
                       [--scenarios 10hz,1hz,idle] [--show KEYS] [--perf] [--details]
                       [--keep]

    --app PROGRAM   the desktop program (default: build/ui/zedezuze under the repository)
    --sim PROGRAM   the simulated receiver (default: build/sim/zedezuze-sim)
    --seconds N     length of the measuring window (default 60)
    --settle S      wait after connecting and showing the windows (default 5)
    --show KEYS     comma-separated keys that show the windows (default F7, "Show all
                    window"); e.g. alt+8,alt+9 on a build without F7 (Alt+N toggles)
    --perf          record perf record -g -p PID during the first scenario's window and print the
                    report afterwards (the recording itself costs the program a little)
    --details       per thread also the wake-ups per second (context switches)
    --keep          keep the work folder (program output, perf data) and print its path

Prints one line per scenario, for example
    10 Hz all windows: 2.41 % of a core, peak RSS 61.2 MB (threads: window 1.9 %, ...)
Thread names: "window" is the main (GUI) thread; "serial" and "monitor" are the receiver's
serial/protocol thread and the monitor thread, told apart by their start order (the serial
thread starts first when the port opens); others carry the names the kernel shows.

Exit status 0 when every scenario was measured, 1 otherwise. Needs Xvfb and xdotool; runs
with the system's Python and its standard library only.
"""
import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

MAIN_TITLE = "VUVEZUV Zedezuze"
SETTING_TITLE = "Receiver setting"
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
SCENARIOS = {
    "10hz": ("10 Hz", ["--rate", "10", "--baud", "115200"]),
    "1hz": ("1 Hz", ["--rate", "1", "--baud", "9600"]),
    "idle": ("idle", None),
}


class Failure(Exception):
    """A step that did not work; the message says what was seen."""


def regex_for_title(title):
    """An extended regular expression (xdotool's) that matches exactly this window title."""
    return "^" + "".join("\\" + c if c in ".[]()*+?{}|^$\\" else c for c in title) + "$"


def xdotool(*arguments, timeout=15, check=True):
    try:
        result = subprocess.run(["xdotool", *arguments], capture_output=True, text=True,
                                timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"xdotool {' '.join(arguments)} did not finish in {timeout} s")
    if check and result.returncode != 0:
        raise Failure(f"xdotool {' '.join(arguments)} failed: {result.stderr.strip()}")
    return result.stdout.strip()


def stop_process(process, grace=5):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=grace)


# /proc readings ------------------------------------------------------------------------------

def cpu_ticks(stat_path):
    """utime + stime in clock ticks from a /proc stat file, or None when it is gone."""
    try:
        text = Path(stat_path).read_text()
    except OSError:
        return None
    # The name in parentheses may hold spaces: split after the last ')'.
    fields = text[text.rindex(")") + 2:].split()
    return int(fields[11]) + int(fields[12])


def switches(status_path):
    """voluntary + nonvoluntary context switches from a /proc status file (0 when gone)."""
    total = 0
    try:
        for line in Path(status_path).read_text().splitlines():
            if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                total += int(line.split()[1])
    except OSError:
        pass
    return total


def status_value_kb(pid, name):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith(name + ":"):
            return int(line.split()[1])
    raise Failure(f"no {name} in /proc/{pid}/status")


def thread_sample(pid):
    """{tid: (comm, ticks, switches)} of every thread of the process."""
    sample = {}
    for entry in os.scandir(f"/proc/{pid}/task"):
        tid = int(entry.name)
        try:
            comm = Path(entry.path, "comm").read_text().strip()
        except OSError:
            continue
        ticks = cpu_ticks(Path(entry.path, "stat"))
        if ticks is not None:
            sample[tid] = (comm, ticks, switches(Path(entry.path, "status")))
    return sample


def thread_labels(pid, tids, own_name):
    """A readable name per thread: the main thread is the window thread; of the program's own
    unnamed threads the first two to start (lowest ids) after the main one are the serial and
    the monitor thread; other threads keep the kernel's name."""
    labels = {}
    own = []
    for tid, comm in tids.items():
        if tid == pid:
            labels[tid] = "window"
        elif comm == own_name:
            own.append(tid)
        else:
            labels[tid] = comm
    for tid, name in zip(sorted(own), ["serial", "monitor"]):
        labels[tid] = name
    for tid in sorted(own)[2:]:
        labels[tid] = f"{own_name}-{tid}"
    # Several threads with one kernel name (a pool): number them.
    counts = {}
    for label in labels.values():
        counts[label] = counts.get(label, 0) + 1
    for tid in sorted(labels):
        if counts[labels[tid]] > 1:
            labels[tid] = f"{labels[tid]}/{tid}"
    return labels


# The desktop -----------------------------------------------------------------------------------

class XServer:
    """Xvfb on a display number of its own choosing (-displayfd)."""

    def __init__(self, work_dir):
        self.process = None
        self.display = None
        reader, writer = os.pipe()
        try:
            with open(work_dir / "xvfb.out", "wb") as sink:
                # -noreset: the server would otherwise reset when its last client leaves.
                self.process = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(writer), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp", "-noreset"],
                    stdin=subprocess.DEVNULL, stdout=sink, stderr=subprocess.STDOUT,
                    pass_fds=[writer])
            os.close(writer)
            writer = None
            number = b""
            deadline = time.monotonic() + 20
            while not number.endswith(b"\n"):
                remaining = deadline - time.monotonic()
                if remaining <= 0 or not select.select([reader], [], [], remaining)[0]:
                    raise Failure("timed out waiting for the X server's display number")
                chunk = os.read(reader, 16)
                if not chunk:
                    raise Failure("the X server ended before it took a display; see xvfb.out")
                number += chunk
        finally:
            os.close(reader)
            if writer is not None:
                os.close(writer)
        self.display = ":" + number.decode().strip()
        os.environ["DISPLAY"] = self.display

    def stop(self):
        stop_process(self.process)


class Feed:
    """The pseudo-terminal the program reads: a simulated receiver's, or one made here that
    stays silent (its master side is held open so the program sees no hang-up)."""

    def __init__(self, sim, sim_arguments, work_dir, name):
        self.process = None
        self.master = self.slave = None
        if sim_arguments is None:
            self.master, self.slave = os.openpty()
            self.path = os.ttyname(self.slave)
            return
        self.output = open(work_dir / f"sim-{name}.err", "wb")
        self.process = subprocess.Popen([sim, *sim_arguments], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=self.output)
        deadline = time.monotonic() + 10
        line = b""
        fd = self.process.stdout.fileno()
        while not line.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([fd], [], [], remaining)[0]:
                raise Failure("the simulated receiver printed no pseudo-terminal path")
            chunk = os.read(fd, 256)
            if not chunk:
                raise Failure(f"the simulated receiver ended with {self.process.wait()}")
            line += chunk
        self.path = line.decode().splitlines()[0].strip()
        if not Path(self.path).exists():
            raise Failure(f"the simulated receiver named {self.path!r}, which does not exist")

    def check(self):
        if self.process is not None and self.process.poll() is not None:
            raise Failure(f"the simulated receiver ended with {self.process.returncode}")

    def stop(self):
        stop_process(self.process)
        if self.process is not None:
            self.process.stdout.close()
            self.output.close()
        for fd in (self.master, self.slave):
            if fd is not None:
                os.close(fd)


class App:
    """The program under test on the X server, driven with xdotool."""

    def __init__(self, program, work_dir, name):
        home = work_dir / f"home-{name}"
        runtime = work_dir / f"runtime-{name}"
        home.mkdir()
        runtime.mkdir(mode=0o700)
        env = dict(os.environ)
        # No desktop session and no accessibility: Qt's own widgets, nothing listening.
        for variable in ("QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE", "QT_SCALE_FACTOR",
                         "SESSION_MANAGER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                         "XAUTHORITY", "WAYLAND_DISPLAY", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON",
                         "AT_SPI_BUS_ADDRESS"):
            env.pop(variable, None)
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "HOME": str(home),
            "XDG_RUNTIME_DIR": str(runtime),
            # A session bus that is not there: no autolaunch, no accessibility bridge.
            "DBUS_SESSION_BUS_ADDRESS": f"unix:path={runtime}/no-bus",
            "NO_AT_BRIDGE": "1",
        })
        self.output_path = work_dir / f"program-{name}.out"
        with open(self.output_path, "wb") as sink:
            self.process = subprocess.Popen([program], env=env, cwd=work_dir,
                                            stdin=subprocess.DEVNULL, stdout=sink,
                                            stderr=subprocess.STDOUT)
        self.pid = self.process.pid
        self.main_window = self.wait_for_window(MAIN_TITLE, 60)
        self.own_name = Path(f"/proc/{self.pid}/comm").read_text().strip()

    def check(self):
        status = self.process.poll()
        if status is not None:
            tail = self.output_path.read_text(errors="replace").splitlines()[-20:]
            raise Failure(f"the program ended with status {status}; its output:\n"
                          + "\n".join(tail))

    def wait_until(self, what, probe, timeout):
        deadline = time.monotonic() + timeout
        while True:
            self.check()
            value = probe()
            if value:
                return value
            if time.monotonic() >= deadline:
                raise Failure(f"timed out after {timeout} s waiting for {what}; "
                              + self.visible_titles())
            time.sleep(0.2)

    def window(self, title):
        found = xdotool("search", "--onlyvisible", "--name", regex_for_title(title),
                        check=False)
        return found.split()[0] if found else None

    def visible_titles(self):
        found = xdotool("search", "--onlyvisible", "--name", ".", check=False).split()
        titles = [xdotool("getwindowname", window, check=False) for window in found]
        return "visible X windows: " + ", ".join(repr(title) for title in titles if title)

    def wait_for_window(self, title, timeout=15):
        window = self.wait_until(f"the window {title!r}", lambda: self.window(title), timeout)
        # Without a window manager nobody hands the keyboard to a new window: do it here.
        xdotool("windowfocus", "--sync", window)
        return window

    def keys(self, window, *keys):
        xdotool("windowfocus", "--sync", window)
        xdotool("key", "--delay", "60", *keys)

    def holds_open(self, path):
        """True when one of the program's file descriptors is this file."""
        try:
            fds = os.listdir(f"/proc/{self.pid}/fd")
        except OSError:
            return False
        for fd in fds:
            try:
                if os.readlink(f"/proc/{self.pid}/fd/{fd}") == path:
                    return True
            except OSError:
                pass
        return False

    def connect(self, path):
        """F4, the port box (focused when the dialog opens) gets the path, Return connects."""
        self.keys(self.main_window, "F4")
        dialog = self.wait_for_window(SETTING_TITLE)
        time.sleep(0.3)  # let the dialog hand the focus to the port box
        self.keys(dialog, "ctrl+a")
        xdotool("type", "--delay", "20", path)
        self.keys(dialog, "Return")
        self.wait_until("the dialog to close", lambda: self.window(SETTING_TITLE) is None, 15)
        # Connected: the program holds the port open and no message box came up.
        self.wait_until(f"the program to open {path}", lambda: self.holds_open(path), 15)
        time.sleep(1.0)
        # A failed open shows a message box; only the main window may be on the screen.
        others = [window for window in xdotool("search", "--onlyvisible", "--name", ".",
                                               check=False).split()
                  if xdotool("getwindowname", window, check=False) not in ("", MAIN_TITLE)]
        if others:
            raise Failure(f"a window came up after connecting; {self.visible_titles()}")
        self.check()

    def stop(self):
        stop_process(self.process)


# Measuring ---------------------------------------------------------------------------------

class Perf:
    """perf record -g on the program for the length of the window."""

    def __init__(self, pid, work_dir):
        self.data = work_dir / "perf.data"
        self.output = work_dir / "perf-record.out"
        self.process = None
        with open(self.output, "wb") as sink:
            self.process = subprocess.Popen(
                ["perf", "record", "--call-graph", "dwarf,16384", "-p", str(pid), "-o", str(self.data)],
                stdin=subprocess.DEVNULL, stdout=sink, stderr=subprocess.STDOUT)
        time.sleep(0.5)
        if self.process.poll() is not None:
            self.report_failure()
            self.process = None

    def report_failure(self):
        text = self.output.read_text(errors="replace").strip()
        print(f"perf record is not supported here (status {self.process.returncode}): "
              f"{text.splitlines()[-1] if text else 'no output'}; continuing without it",
              flush=True)

    def stop(self):
        if self.process is None:
            return False
        if self.process.poll() is not None:
            self.report_failure()
            return False
        self.process.send_signal(signal.SIGINT)
        try:
            self.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        return self.data.exists()

    def report(self):
        # First the share of each thread, then the profile itself.
        by_thread = subprocess.run(["perf", "report", "-i", str(self.data), "--no-children",
                                    "--sort", "pid", "--stdio", "-g", "none"],
                                   capture_output=True, text=True)
        shares = [" ".join(line.split()) for line in by_thread.stdout.splitlines()
                  if line.strip() and not line.startswith("#")]
        print("perf samples by thread: " + ("; ".join(shares[:8]) if shares else "(none)"))
        command = ["perf", "report", "-i", str(self.data), "--no-children", "--percent-limit",
                   "1", "--stdio"]
        result = subprocess.run(command, capture_output=True, text=True)
        lines = result.stdout.splitlines()[:80]
        print("perf report --no-children --percent-limit 1 --stdio | head -80")
        print("\n".join(lines) if lines else f"(no report: {result.stderr.strip()})")


def measure(app, feed, seconds, perf_dir):
    """CPU per thread and wake-ups over the window; returns (total %, [(label, %, wakes/s)],
    peak RSS kB)."""
    pid = app.pid
    perf = Perf(pid, perf_dir) if perf_dir is not None else None
    start_time = time.monotonic()
    start_total = cpu_ticks(f"/proc/{pid}/stat")
    start_threads = thread_sample(pid)
    deadline = start_time + seconds
    while time.monotonic() < deadline:
        time.sleep(min(1.0, max(0.0, deadline - time.monotonic())))
        app.check()
        feed.check()
    end_total = cpu_ticks(f"/proc/{pid}/stat")
    end_threads = thread_sample(pid)
    elapsed = time.monotonic() - start_time
    peak_kb = status_value_kb(pid, "VmHWM")
    recorded = perf.stop() if perf is not None else False

    def percent(ticks):
        return 100.0 * ticks / CLOCK_TICKS / elapsed

    labels = thread_labels(pid, {tid: comm for tid, (comm, _, _) in end_threads.items()},
                           app.own_name)
    rows = []
    for tid, (comm, ticks, wakes) in end_threads.items():
        _, ticks_before, wakes_before = start_threads.get(tid, (comm, 0, 0))
        rows.append((labels[tid], percent(ticks - ticks_before),
                     (wakes - wakes_before) / elapsed))
    rows.sort(key=lambda row: (-row[1], -row[2], row[0]))
    return percent(end_total - start_total), rows, peak_kb, (perf if recorded else None)


def run_scenario(key, arguments, work_dir, show_label):
    title, sim_arguments = SCENARIOS[key]
    feed = app = None
    try:
        feed = Feed(arguments.sim, sim_arguments, work_dir, key)
        app = App(arguments.app, work_dir, key)
        app.connect(feed.path)
        for show_key in arguments.show:
            app.keys(app.main_window, show_key)
        time.sleep(arguments.settle)
        app.check()
        perf_dir = work_dir if arguments.perf and key == arguments.scenarios[0] else None
        total, rows, peak_kb, perf = measure(app, feed, arguments.seconds, perf_dir)
    finally:
        if app is not None:
            app.stop()
        if feed is not None:
            feed.stop()

    shown = [f"{label} {value:.1f} %" for label, value, _ in rows if value >= 0.05]
    print(f"{title} {show_label}: {total:.2f} % of a core, peak RSS {peak_kb / 1024:.1f} MB "
          f"(threads: {', '.join(shown) if shown else 'all below 0.05 %'})", flush=True)
    if arguments.details:
        for label, value, wakes in rows:
            print(f"    {label:<24} {value:6.2f} % {wakes:8.1f} wake-ups/s", flush=True)
    if perf is not None:
        perf.report()


def default_program(relative):
    root = Path(os.environ.get("ZZ_BUILD_ROOT", Path(__file__).resolve().parent.parent))
    return str(root / "build" / relative)


def parse_arguments():
    parser = argparse.ArgumentParser(
        description="CPU and memory of the desktop program with a live receiver.")
    parser.add_argument("--app", default=default_program("ui/zedezuze"))
    parser.add_argument("--sim", default=default_program("sim/zedezuze-sim"))
    parser.add_argument("--seconds", type=float, default=60.0)
    parser.add_argument("--settle", type=float, default=5.0)
    parser.add_argument("--scenarios", default="10hz,1hz,idle")
    parser.add_argument("--show", default="F7")
    parser.add_argument("--perf", action="store_true")
    parser.add_argument("--details", action="store_true")
    parser.add_argument("--keep", action="store_true")
    arguments = parser.parse_args()
    arguments.scenarios = [name.strip().lower() for name in arguments.scenarios.split(",")
                           if name.strip()]
    unknown = [name for name in arguments.scenarios if name not in SCENARIOS]
    if unknown:
        parser.error(f"unknown scenario {unknown}; known: {', '.join(SCENARIOS)}")
    arguments.show = [key.strip() for key in arguments.show.split(",") if key.strip()]
    for program in (arguments.app, arguments.sim):
        if not os.access(program, os.X_OK):
            parser.error(f"{program} is not an executable program (build it, or name it)")
    return arguments


def main():
    arguments = parse_arguments()
    for tool in ("Xvfb", "xdotool") + (("perf",) if arguments.perf else ()):
        if shutil.which(tool) is None:
            print(f"live: {tool} is not installed", file=sys.stderr)
            return 1
    show_label = "all windows" if arguments.show == ["F7"] else \
        f"windows shown by {'+'.join(arguments.show) or 'nothing'}"
    work_dir = Path(tempfile.mkdtemp(prefix="zedezuze-live-"))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    x_server = None
    failed = False
    try:
        x_server = XServer(work_dir)
        for key in arguments.scenarios:
            try:
                run_scenario(key, arguments, work_dir, show_label)
            except Failure as failure:
                failed = True
                print(f"{SCENARIOS[key][0]}: not measured: {failure}", flush=True)
    except Failure as failure:
        failed = True
        print(f"live: {failure}", file=sys.stderr)
    finally:
        if x_server is not None:
            x_server.stop()
        if arguments.keep or failed:
            print(f"live: work folder kept: {work_dir}", file=sys.stderr)
        else:
            shutil.rmtree(work_dir, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
