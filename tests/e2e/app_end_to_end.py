#!/usr/bin/python3
"""End-to-end run of the desktop application: the real program on a virtual X server, driven
by real key presses, checked by reading its windows over the accessibility bus.

The run connects to the built-in simulated receiver "SIM", waits for satellites in the sky plot
and the signal level window and a track in the position plot (by their colours on the screen),
restores the default layout with F8, waits for a position in the Information window and for
received sentences in the Log window, sends "Send Clear 1" from the preset window (F6) and waits
for the time to first fix, records both log files for a few seconds and checks them, and
disconnects. It then replays samples/sample-nmea.bin (F3, the path typed into the open dialog,
OK in the replay form): plays it at "fast", pauses, moves the position bar by a click beside its
thumb, plays to the end of the file and checks the last position shown, closes the replay
(Ctrl+F3) and shows the settings summary (F12). Last it closes the program, which must end with
status 0.

Usage: app_end_to_end.py PROGRAM [--screenshot PNG] [--sanitizer NAME]

    --screenshot PNG   after the first checks, save a picture of the main window
    --sanitizer NAME   the sanitizers the program was built with (as given to the build)

Exit status: 0 passed, 1 failed, 77 skipped (the reason is printed). On failure the work
folder with the program's output and the recorded files is kept and its path printed.

Runs with the system's Python (/usr/bin/python3), which has the accessibility bindings
(python3-gi, gir1.2-atspi-2.0); it needs xvfb, xdotool, dbus, at-spi2-core and, for the
screenshot, imagemagick.
"""
import argparse
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

# Run from the source tree: leave no compiled files behind in it.
sys.dont_write_bytecode = True
try:
    import window_query
    MISSING_BINDINGS = None
except (ImportError, ValueError) as error:
    window_query = None
    MISSING_BINDINGS = error

SKIPPED = 77
SESSION_MARK = "ZZ_E2E_IN_SESSION"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

MAIN_TITLE = "VUVEZUV Zedezuze"
SETTING_TITLE = "Receiver setting"
LOG_DIALOG_TITLE = "Save received Data (Only regular sentence) + Sent Data [.log]"
RAW_DIALOG_TITLE = "Save all received Data [.bin]"
NOTICE_TITLE = "Notice"
PRESET_TITLE = "Preset command"
CLEAR_1_CAPTION = "Send Clear 1 ($DIRU,GPclr,1)"

# Sentences as the windows and the text log show them: no CR LF, a checksum.
SECONDS = re.compile(r"\d+(\.\d+)?")
SENTENCE = re.compile(rb"\$([^$*\r\n]*)\*([0-9A-F]{2})")
COORDINATE = re.compile(r"[NS] \d{3} \d{2}' \d{2}\.\d{3}\"")
MARKER_LINE = re.compile(rb"@@Header of NMEA cycle -> [A-Z]{3}@@\r\n")
SAMPLE_LOG = Path(__file__).resolve().parents[2] / "samples" / "sample-nmea.bin"
OPEN_TITLE = "Open"
REPLAY_FORM_TITLE = "Log Replay Setting"
SUMMARY_TITLE = "Setting"
GGA_LATITUDE = re.compile(rb"\$GPGGA,[^,]*,(\d{4}\.\d+),([NS]),")


class Failure(Exception):
    """A check that did not hold; the message says what was seen."""


def checksum_holds(sentence):
    """True for "$body*hh" whose hh is the XOR of the body's bytes."""
    match = SENTENCE.fullmatch(sentence)
    if match is None:
        return False
    value = 0
    for byte in match.group(1):
        value ^= byte
    return value == int(match.group(2), 16)


def regex_for_title(title):
    """An extended regular expression (xdotool's) that matches exactly this window title."""
    return "^" + "".join("\\" + c if c in ".[]()*+?{}|^$\\" else c for c in title) + "$"


class Desktop:
    """The virtual X server, the accessibility bus and the program under test, with everything
    needed to stop them again."""

    def __init__(self, work_dir):
        self.work_dir = work_dir
        self.processes = []  # (what, process), started in this order, stopped in reverse
        self.app = None
        self.display = None

    def start(self, program, extra_env):
        self._start_x_server()
        self._start_accessibility_bus()
        env = dict(os.environ)
        # No desktop session: Qt's own widgets and file dialogs, whatever the caller runs in.
        for name in ("QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE",
                     "QT_SCALE_FACTOR", "SESSION_MANAGER", "XDG_CURRENT_DESKTOP",
                     "DESKTOP_SESSION", "XAUTHORITY", "WAYLAND_DISPLAY"):
            env.pop(name, None)
        home = self.work_dir / "home"
        runtime = self.work_dir / "runtime"
        home.mkdir()
        runtime.mkdir(mode=0o700)
        env.update({
            "DISPLAY": self.display,
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "HOME": str(home),
            "XDG_RUNTIME_DIR": str(runtime),
        })
        env.update(extra_env)
        self.app = self._spawn("program", [program], env, self.work_dir / "program.out")

    def _spawn(self, what, command, env, output, **options):
        with open(output, "wb") as sink:
            process = subprocess.Popen(command, env=env, cwd=self.work_dir,
                                       stdin=subprocess.DEVNULL, stdout=sink,
                                       stderr=subprocess.STDOUT, **options)
        self.processes.append((what, process))
        return process

    def _start_x_server(self):
        # -displayfd: the server picks a free display number and writes it to the pipe once it
        # accepts connections, so there is neither a guess nor a race with other servers.
        # -noreset: by default the server resets when its last client leaves, and drops the
        # connections that arrive meanwhile; the bus launcher and xdotool come and go.
        reader, writer = os.pipe()
        try:
            self._spawn("X server",
                        ["Xvfb", "-displayfd", str(writer), "-screen", "0", "1280x1024x24",
                         "-nolisten", "tcp", "-noreset"],
                        None, self.work_dir / "xvfb.out", pass_fds=[writer])
            os.close(writer)
            writer = None
            number = b""
            deadline = time.monotonic() + 20
            while not number.endswith(b"\n"):
                wait_for_readable(reader, deadline, "the X server's display number")
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

    def _start_accessibility_bus(self):
        self._spawn("accessibility bus", [BUS_LAUNCHER, "--launch-immediately"], None,
                    self.work_dir / "bus.out")

    def check_program(self):
        """Fails when the program has ended."""
        status = self.app.poll()
        if status is not None:
            others = ", ".join(f"{what} {'running' if process.poll() is None else 'ended'}"
                               for what, process in self.processes if process is not self.app)
            raise Failure(f"the program ended with status {status} ({others})")

    def program_output(self, lines=60):
        path = self.work_dir / "program.out"
        text = path.read_text(errors="replace") if path.exists() else ""
        tail = text.splitlines()[-lines:]
        return "program output (last lines):\n" + ("\n".join(tail) if tail else "(none)")

    def stop(self):
        for what, process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    print(f"e2e: {what} did not end on SIGTERM; killing it")
                    process.kill()
                    process.wait(timeout=5)
        self.processes.clear()


def wait_for_readable(fd, deadline, what):
    remaining = deadline - time.monotonic()
    if remaining <= 0 or not select.select([fd], [], [], remaining)[0]:
        raise Failure(f"timed out waiting for {what}")


def xdotool(*arguments, timeout=15, check=True):
    try:
        result = subprocess.run(["xdotool", *arguments], capture_output=True, text=True,
                                timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"xdotool {' '.join(arguments)} did not finish in {timeout} s")
    if check and result.returncode != 0:
        raise Failure(f"xdotool {' '.join(arguments)} failed: {result.stderr.strip()}")
    return result.stdout.strip()


class Run:
    """The scenario, step by step."""

    def __init__(self, desktop, work_dir, started):
        self.desktop = desktop
        self.work_dir = work_dir
        self.started = started
        self.query = None
        self.main_window = None

    def step(self, text):
        print(f"e2e [{time.monotonic() - self.started:5.1f} s] {text}", flush=True)

    def wait_until(self, what, probe, timeout, seen=None, interval=0.2):
        """Polls probe() until it returns something true and returns that; fails after timeout
        seconds, or at once when the program has ended, saying what seen() reports. A query
        the program did not answer counts as not yet (a window may close while it is read)."""
        deadline = time.monotonic() + timeout
        unanswered = None
        while True:
            self.desktop.check_program()
            try:
                value = probe()
                if value:
                    return value
            except window_query.QueryError as error:
                unanswered = error
            if time.monotonic() >= deadline:
                try:
                    report = seen() if seen is not None else ""
                except window_query.QueryError as error:
                    report = f"(the windows could not be read: {error})"
                if unanswered is not None:
                    report += f"\nlast unanswered query: {unanswered}"
                raise Failure(f"timed out after {timeout} s waiting for {what}\n{report}")
            time.sleep(interval)

    # X windows ------------------------------------------------------------------------------

    def x_window(self, title):
        """The id of the visible X window with exactly this title, or None."""
        found = xdotool("search", "--onlyvisible", "--name", regex_for_title(title),
                        check=False)
        return found.split()[0] if found else None

    def visible_titles(self):
        found = xdotool("search", "--onlyvisible", "--name", ".", check=False).split()
        titles = [xdotool("getwindowname", window, check=False) for window in found]
        return "visible X windows: " + ", ".join(repr(title) for title in titles if title)

    def wait_for_x_window(self, title, timeout=15):
        window = self.wait_until(f"the window {title!r}", lambda: self.x_window(title), timeout,
                                 self.visible_titles)
        # Without a window manager nobody hands the keyboard to a new window: do it here.
        xdotool("windowfocus", "--sync", window)
        return window

    def wait_for_x_window_gone(self, title, timeout=15):
        self.wait_until(f"the window {title!r} to close", lambda: self.x_window(title) is None,
                        timeout, self.visible_titles)

    def keys(self, window, *keys):
        """Key presses into a window, which gets the keyboard first."""
        xdotool("windowfocus", "--sync", window)
        xdotool("key", "--delay", "60", *keys)

    def type_text(self, text):
        xdotool("type", "--delay", "20", text)

    # Accessible tree -------------------------------------------------------------------------

    def tree(self):
        return self.query.tree()

    def top_window(self, role, name):
        """The showing top-level window with this role and name, or None."""
        for node in self.tree().children:
            if node.role == role and node.name == name and node.showing:
                return node
        return None

    def main_frame(self):
        frame = self.top_window("frame", MAIN_TITLE)
        if frame is None:
            raise Failure("the main window is not on the accessibility bus\n"
                          + self.tree().outline())
        return frame

    def child_window(self, title):
        """The work area's child window with this title (shown or not)."""
        return self.main_frame().find(role="frame", name=title)

    def information(self, caption):
        window = self.child_window("Information")
        return None if window is None else window_query.value_beside(window, caption)

    def status_texts(self):
        bar = self.main_frame().find(role="status bar")
        return [] if bar is None else [node.name for node in bar.find_all(role="label")]

    def message_boxes(self):
        """(title, texts) of every message box on the screen."""
        boxes = []
        for node in self.tree().children:
            if node.role == "alert" and node.showing:
                texts = [label.name for label in node.find_all(role="label") if label.name]
                boxes.append((node.name, texts))
        return boxes

    def describe(self):
        """What the windows show, for a failure message."""
        lines = [self.visible_titles(), f"status bar: {self.status_texts()}"]
        for title, texts in self.message_boxes():
            lines.append(f"message box {title!r}: {texts}")
        lines.append("accessible tree:\n" + self.tree().outline())
        return "\n".join(lines)

    def fail_on_message_box(self):
        boxes = self.message_boxes()
        if boxes:
            raise Failure(f"unexpected message box: {boxes}")

    def answer_yes(self, question):
        """Waits for the Notice box that asks the question and answers it with Return, which
        presses its default button, Yes."""
        window = self.wait_for_x_window(NOTICE_TITLE)

        def asked():
            return any(title == NOTICE_TITLE and any(question in text for text in texts)
                       for title, texts in self.message_boxes())

        self.wait_until(f"the question {question!r}", asked, 10, self.describe)
        self.keys(window, "Return")
        self.wait_for_x_window_gone(NOTICE_TITLE)

    def log_box_text(self):
        window = self.child_window("Log")
        if window is None:
            return None
        box = window.find(role="text")
        return None if box is None else box.text()

    # The scenario ----------------------------------------------------------------------------

    def start(self, program, extra_env):
        self.step(f"starting {program}")
        self.desktop.start(program, extra_env)
        self.step(f"X server on {self.desktop.display}")
        self.main_window = self.wait_for_x_window(MAIN_TITLE, timeout=60)
        self.query = window_query.Application.find(
            self.desktop.app.pid, 30, lambda: self.desktop.app.poll() is None)
        if self.query is None:
            self.desktop.check_program()
            raise Failure("the program did not appear on the accessibility bus")
        self.wait_until("the Information window", lambda: self.information("Fix status"), 20,
                        self.describe)

        fix = self.information("Fix status")
        log = self.child_window("Log")
        if fix != "--" or log is None or log.showing:
            raise Failure(f"unexpected start: fix {fix!r}, Log window "
                          f"{'missing' if log is None else 'showing' if log.showing else 'hidden'}"
                          f"\n{self.describe()}")

    def connect_simulated_receiver(self):
        self.step("F4: receiver setting, port SIM, Connect")
        self.keys(self.main_window, "F4")
        dialog = self.wait_for_x_window(SETTING_TITLE)

        def focused_port_text():
            """The focused text field inside a combo box of the dialog, or None."""
            window = self.top_window("dialog", SETTING_TITLE)
            if window is None:
                return None
            return next((node for box in window.find_all(role="combo box")
                         for node in box.walk() if node.focused and node.editable), None)

        self.wait_until("the focus in the dialog's editable port box", focused_port_text, 10,
                        self.describe)
        self.keys(dialog, "ctrl+a")
        self.type_text("SIM")
        self.wait_until("the port box to read SIM",
                        lambda: getattr(focused_port_text(), "text", lambda: None)() == "SIM",
                        10, self.describe)
        self.keys(dialog, "Return")
        self.wait_for_x_window_gone(SETTING_TITLE)

        def connected():
            self.fail_on_message_box()
            return "SIM : NMEA" in self.status_texts()

        self.wait_until("the status bar to show the connection", connected, 15, self.describe)

    def check_position_and_log(self):
        self.step("waiting for a fix and a position in the Information window")

        def position():
            self.fail_on_message_box()
            fix = self.information("Fix status")
            latitude = self.information("Latitude") or ""
            if fix in (None, "--", "No fix"):
                return None
            middle = [line for line in latitude.splitlines() if COORDINATE.fullmatch(line)]
            return (fix, middle[0]) if middle else None

        fix, latitude = self.wait_until(
            "a fix and a latitude", position, 30,
            lambda: f"fix {self.information('Fix status')!r}, latitude "
                    f"{self.information('Latitude')!r}\n{self.describe()}")
        self.step(f"fix {fix!r}, latitude {latitude!r}")

        self.step("Alt+8: the Log window")
        self.keys(self.main_window, "alt+8")
        self.wait_until("the Log window to show",
                        lambda: getattr(self.child_window("Log"), "showing", False), 10,
                        self.describe)

        def sentences():
            text = self.log_box_text() or ""
            lines = [line for line in text.splitlines() if line.startswith("$GP")]
            return lines if len(lines) >= 5 else None

        lines = self.wait_until("received sentences in the Log window", sentences, 15,
                                lambda: f"Log window text: {self.log_box_text()!r}")
        broken = [line for line in lines if not checksum_holds(line.encode("latin-1"))]
        if broken:
            raise Failure(f"Log window lines with a wrong checksum: {broken}")
        self.step(f"{len(lines)} sentences in the Log window, e.g. {lines[-1]!r}")

    def check_preset_restart(self):
        """F6, "Send Clear 1": the receiver restarts and the Information window shows the time
        to the new fix in seconds."""
        before = self.information("TTFF")
        if before is None or SECONDS.fullmatch(before):
            raise Failure(f"a time to first fix before any restart: {before!r}")
        self.step("F6: preset command window, " + CLEAR_1_CAPTION)
        self.keys(self.main_window, "F6")
        dialog = self.wait_for_x_window(PRESET_TITLE)
        window = self.wait_until("the preset command window on the accessibility bus",
                                 lambda: self.top_window("dialog", PRESET_TITLE), 10,
                                 self.describe)
        button = window.find(role="push button", name=CLEAR_1_CAPTION, showing=True)
        if button is None:
            raise Failure(f"the window has no {CLEAR_1_CAPTION!r} button\n" + window.outline())
        x, y, width, height = button.extents()
        xdotool("windowfocus", "--sync", dialog)
        xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")
        self.wait_until("the status bar to show the sent command",
                        lambda: "Sent Data:$DIRU,GPclr,1" in self.status_texts(), 10,
                        self.describe)
        # The window stays open after sending; Escape closes it.
        self.keys(dialog, "Escape")
        self.wait_for_x_window_gone(PRESET_TITLE)

        def measured():
            self.fail_on_message_box()
            value = self.information("TTFF")
            return value if value is not None and SECONDS.fullmatch(value) else None

        seconds = self.wait_until("a time to first fix in seconds", measured, 60,
                                  lambda: f"TTFF {self.information('TTFF')!r}\n"
                                          f"{self.describe()}")
        self.step(f"time to first fix {seconds} s")

    def screen_pixels(self, x, y, width, height):
        """The RGB bytes of a rectangle of the screen as it shows now."""
        result = subprocess.run(["import", "-display", self.desktop.display, "-window", "root",
                                 "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                                 "-depth", "8", "rgb:-"], capture_output=True, timeout=60)
        if result.returncode != 0 or len(result.stdout) != width * height * 3:
            raise Failure("a picture of the screen failed: "
                          f"{result.stderr.decode(errors='replace').strip()}")
        return result.stdout

    def count_colours(self, area, colours):
        """How many pixels of the screen area (x, y, width, height) have each #RRGGBB colour."""
        pixels = self.screen_pixels(*area)
        wanted = {bytes.fromhex(colour.lstrip("#")): colour for colour in colours}
        counts = dict.fromkeys(colours, 0)
        for offset in range(0, len(pixels), 3):
            colour = wanted.get(pixels[offset:offset + 3])
            if colour is not None:
                counts[colour] += 1
        return counts

    def window_area(self, title):
        """Where a child window is on the screen: (x, y, width, height)."""
        window = self.child_window(title)
        if window is None:
            raise Failure(f"no {title} window\n{self.describe()}")
        return window.extents()

    def check_pictures(self):
        """The sky plot and the signal level window show satellites in their class colours,
        the position plot a track."""
        classes = ("#00F020", "#FFE000", "#FF3000")
        self.step("waiting for satellites in the sky plot and the signal level window")

        def satellites(title, least):
            def shown():
                counts = self.count_colours(self.window_area(title), classes)
                # Marks of the used class beyond what the legend alone shows.
                return counts if counts["#00F020"] >= least else None
            return shown

        sky = self.wait_until("satellite marks in the sky plot", satellites("Sky plot", 300),
                              20, self.describe)
        bars = self.wait_until("signal bars", satellites("Signal level", 1000), 20,
                               self.describe)
        self.step(f"sky plot pixels by class {sky}; signal level {bars}")

        def fix_pixels():
            # The colours of fixes, with and without dead reckoning, 2D and 3D.
            counts = self.count_colours(self.window_area("Position plot"),
                                        ("#00F020", "#B0FFB0", "#90E0FF", "#00B0FF"))
            return sum(counts.values())

        # The legend shows each colour once; every new track point adds a few pixels more.
        first = fix_pixels()

        def track():
            pixels = fix_pixels()
            return pixels if pixels >= first + 15 else None

        pixels = self.wait_until("a growing track in the position plot", track, 30,
                                 self.describe)
        self.step(f"position plot fix-coloured pixels {first} -> {pixels}")

    def check_default_layout(self):
        self.step("Alt+5 hides the sky plot, Alt+9 shows the DR window, F8 restores the layout")
        info_x, info_y, _, _ = self.window_area("Information")
        # The sky plot's place in the default layout: (0, 355) of the work area, 254 wide.
        sky_area = (info_x, info_y + 355, 254, 300)

        def sky_marks():
            return self.count_colours(sky_area, ("#00F020",))["#00F020"]

        self.keys(self.main_window, "alt+5", "alt+9")
        self.wait_until("the sky plot hidden and the DR window shown",
                        lambda: sky_marks() == 0 and self.child_window("DR").showing, 10,
                        self.describe)
        self.keys(self.main_window, "F8")

        def restored():
            hidden = not self.child_window("Log").showing and not self.child_window("DR").showing
            return hidden and sky_marks() >= 300

        self.wait_until("the default layout with the sky plot back", restored, 10,
                        self.describe)
        sky = self.window_area("Sky plot")
        if sky[:2] != sky_area[:2]:
            raise Failure(f"sky plot at {sky[:2]}, expected {sky_area[:2]}")

    def screenshot(self, path):
        geometry = {}
        for line in xdotool("getwindowgeometry", "--shell", self.main_window).splitlines():
            name, _, value = line.partition("=")
            geometry[name] = int(value)
        crop = f"{geometry['WIDTH']}x{geometry['HEIGHT']}+{geometry['X']}+{geometry['Y']}"
        path = Path(path).resolve()
        path.parent.mkdir(parents=True, exist_ok=True)
        result = subprocess.run(["import", "-display", self.desktop.display, "-window", "root",
                                 "-crop", crop, "+repage", str(path)],
                                capture_output=True, text=True, timeout=60)
        if result.returncode != 0 or not path.exists() or path.stat().st_size == 0:
            raise Failure(f"the screenshot failed: {result.stderr.strip()}")
        self.step(f"screenshot {crop} written to {path}")

    def save_as(self, title, path):
        window = self.wait_for_x_window(title)

        def name_box_focused():
            dialog = self.top_window("dialog", title)
            return dialog is not None and any(
                node.focused and node.editable and node.role == "text" for node in dialog.walk())

        self.wait_until(f"the focus in the file name box of {title!r}", name_box_focused, 10,
                        self.describe)
        self.keys(window, "ctrl+a")
        self.type_text(str(path))

        def name_typed():
            dialog = self.top_window("dialog", title)
            return dialog is not None and any(
                node.focused and node.role == "text" and node.text() == str(path)
                for node in dialog.walk())

        self.wait_until(f"the file name box to hold {path}", name_typed, 10, self.describe)
        self.keys(window, "Return")
        self.wait_for_x_window_gone(title)

    def record(self):
        log_path = self.work_dir / "record.log"
        raw_path = self.work_dir / "record.bin"
        self.step("F2: recording to record.log and record.bin")
        self.keys(self.main_window, "F2")
        self.save_as(LOG_DIALOG_TITLE, log_path)
        self.save_as(RAW_DIALOG_TITLE, raw_path)

        def recording():
            self.fail_on_message_box()
            texts = self.status_texts()
            return "Log[.log] : record.log" in texts and "Log[.bin] : record.bin" in texts

        self.wait_until("the status bar to name both files", recording, 10, self.describe)

        def three_cycles():
            data = log_path.read_bytes() if log_path.exists() else b""
            return data.count(b"$GPGGA,") >= 3

        self.wait_until("three cycles in the text log", three_cycles, 20,
                        lambda: f"record.log holds {log_path.stat().st_size} bytes")

        self.step("Ctrl+F2: closing the log files")
        self.keys(self.main_window, "ctrl+F2")
        self.answer_yes("Close Log File?")

        def stopped():
            texts = self.status_texts()
            return "Log[.log] : Not Saved" in texts and "Log[.bin] : Not Saved" in texts

        self.wait_until("the status bar to show the recording stopped", stopped, 10,
                        self.describe)
        sizes = (log_path.stat().st_size, raw_path.stat().st_size)

        # A new time in the Information window: sentences arrived after the close, and must
        # not have reached the files.
        before = self.information("Date Time")
        self.wait_until("a new cycle after closing", lambda: self.information("Date Time")
                        not in (before, None), 10, self.describe)
        after = (log_path.stat().st_size, raw_path.stat().st_size)
        if after != sizes:
            raise Failure(f"the log files grew after they were closed: {sizes} -> {after}")
        check_log_files(log_path.read_bytes(), raw_path.read_bytes())
        self.step(f"record.log {sizes[0]} bytes and record.bin {sizes[1]} bytes check out")

    def disconnect(self):
        self.step("F4: Disconnect")
        self.keys(self.main_window, "F4")
        dialog = self.wait_for_x_window(SETTING_TITLE)
        window = self.wait_until("the dialog on the accessibility bus",
                                 lambda: self.top_window("dialog", SETTING_TITLE), 10,
                                 self.describe)
        button = window.find(role="push button", name="Disconnect", showing=True)
        if button is None:
            raise Failure("the dialog has no Disconnect button\n" + window.outline())
        x, y, width, height = button.extents()
        xdotool("windowfocus", "--sync", dialog)
        xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")

        # While connected, disconnecting asks first.
        self.answer_yes("Disconnect receiver?")
        self.wait_for_x_window_gone(SETTING_TITLE)
        self.wait_until("the status bar to show the receiver disconnected",
                        lambda: "COM : Disconnect" in self.status_texts(), 10, self.describe)

    def click(self, window, node):
        """A real mouse click in the middle of an accessible node of an X window."""
        x, y, width, height = node.extents()
        xdotool("windowfocus", "--sync", window)
        # Not --sync: that waits for a motion event, which never comes when the pointer is
        # there already (a second click on the same button).
        xdotool("mousemove", str(x + width // 2), str(y + height // 2))
        time.sleep(0.1)
        xdotool("click", "1")

    def replay_panel(self):
        """(play button, position bar, fast choice) of the main window's replay panel."""
        frame = self.main_frame()
        button = frame.find(name="Play", showing=True)
        fast = frame.find(role="radio button", name="fast", showing=True)
        if button is None:
            return None, None, fast
        # The position bar is the scroll bar right of the button on its row (the work area has
        # scroll bars of its own).
        bx, by, bw, bh = button.extents()

        def beside(node):
            x, y, width, height = node.extents()
            return x >= bx + bw and y < by + bh and y + height > by

        bar = next((node for node in frame.find_all(role="scroll bar", showing=True)
                    if beside(node) and node.value() is not None), None)
        return button, bar, fast

    def dismiss(self, title, first_line):
        """Waits for the message box with this title whose text starts with first_line, and
        closes it with Return."""
        window = self.wait_for_x_window(title)

        def shown():
            return any(name == title and any(text.startswith(first_line) for text in texts)
                       for name, texts in self.message_boxes())

        self.wait_until(f"the {title!r} box starting {first_line!r}", shown, 10, self.describe)
        self.keys(window, "Return")
        self.wait_for_x_window_gone(title)

    def replay(self):
        self.step(f"F3: replaying {SAMPLE_LOG.name}")
        self.keys(self.main_window, "F3")
        self.save_as(OPEN_TITLE, SAMPLE_LOG)

        form = self.wait_for_x_window(REPLAY_FORM_TITLE)
        dialog = self.wait_until("the replay form on the accessibility bus",
                                 lambda: self.top_window("dialog", REPLAY_FORM_TITLE), 10,
                                 self.describe)
        ok = dialog.find(role="push button", name="OK", showing=True)
        if ok is None or dialog.find(role="push button", name="Disconnect", showing=True):
            raise Failure("the replay form is not as expected\n" + dialog.outline())
        self.click(form, ok)
        self.wait_for_x_window_gone(REPLAY_FORM_TITLE)
        self.dismiss(SUMMARY_TITLE, "Protocol")

        button, bar, fast = self.wait_until("the replay panel", lambda: all(self.replay_panel())
                                            and self.replay_panel(), 10, self.describe)
        if self.main_frame().find(role="status bar", showing=True):
            raise Failure("the status bar still shows during the replay")
        size = SAMPLE_LOG.stat().st_size
        if bar.value() != (0, size):
            raise Failure(f"the position bar starts at {bar.value()}, not (0, {size})")

        self.step("fast, play")
        self.click(self.main_window, fast)
        self.click(self.main_window, button)

        def position():
            latitude = self.information("Latitude") or ""
            return next((line for line in latitude.splitlines() if COORDINATE.fullmatch(line)),
                        None)

        self.wait_until("a position from the log and the bar moving",
                        lambda: position() and self.replay_panel()[1].value()[0] > 0, 20,
                        lambda: f"play button {'down' if self.replay_panel()[0].checked() else 'up'}"
                                f", bar {self.replay_panel()[1].value()}, latitude "
                                f"{self.information('Latitude')!r}")

        self.step("pause, then a click beside the thumb")
        button, bar, _ = self.replay_panel()
        self.click(self.main_window, button)
        self.wait_until("the play button up", lambda: not self.replay_panel()[0].checked(), 10,
                        self.describe)
        time.sleep(0.3)
        before = self.replay_panel()[1].value()[0]
        x, y, width, height = bar.extents()
        self.step(f"position bar at {before} of {size}, on the screen at {(x, y, width, height)}")
        # Between the thumb (near the left) and the right arrow.
        xdotool("mousemove", str(x + width - 3 * height), str(y + height // 2))
        time.sleep(0.2)
        xdotool("click", "1")
        self.wait_until("the bar to move a page on",
                        lambda: self.replay_panel()[1].value()[0] >= before + 4800, 10,
                        lambda: f"bar at {self.replay_panel()[1].value()}, was {before}")

        self.step("play to the end of the file")
        self.click(self.main_window, self.replay_panel()[0])

        def at_end():
            button, bar, _ = self.replay_panel()
            return not button.checked() and bar.value()[0] == size

        self.wait_until("the end of the file, paused", at_end, 60,
                        lambda: f"bar at {self.replay_panel()[1].value()}\n{self.describe()}")
        last = GGA_LATITUDE.findall(SAMPLE_LOG.read_bytes())[-1]
        degrees, minutes = divmod(float(last[0]), 100)
        shown = position()
        match = re.fullmatch(r"([NS]) (\d{3}) (\d{2})' (\d{2}\.\d{3})\"", shown or "")
        if (match is None or match[1] != last[1].decode() or int(match[2]) != int(degrees)
                or int(match[3]) != int(minutes)
                or abs(float(match[4]) - (minutes - int(minutes)) * 60) > 0.002):
            raise Failure(f"the last latitude shown is {shown!r}, the log's last is {last}")
        self.step(f"end of the log reached; latitude {shown!r}")

        self.step("Ctrl+F3: closing the replay")
        self.keys(self.main_window, "ctrl+F3")
        self.answer_yes("Stop Replaying Log?")
        self.wait_until("the command line and the status bar back",
                        lambda: self.main_frame().find(role="status bar", showing=True)
                        and not any(self.replay_panel()), 10, self.describe)

        self.step("F12: the settings summary")
        self.keys(self.main_window, "F12")
        self.dismiss(SUMMARY_TITLE, "Port setting")

    def close(self, timeout):
        self.step("Alt+F4: closing the program")
        self.keys(self.main_window, "alt+F4")
        try:
            status = self.desktop.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout} s of Alt+F4\n"
                          f"{self.describe()}")
        if status != 0:
            raise Failure(f"the program ended with status {status}")
        self.step("the program ended with status 0")


def check_log_files(log, raw):
    """The text log: whole CR LF lines of sentences with right checksums. The raw log: the
    marker line, then the received bytes, which hold every sentence of the text log in the
    same order (all but the first, whose start may have arrived before the files opened)."""
    if not log or not log.endswith(b"\r\n"):
        raise Failure(f"the text log is empty or does not end in CR LF: {log[-80:]!r}")
    lines = log[:-2].split(b"\r\n")
    bad = [line for line in lines if b"\r" in line or b"\n" in line or not checksum_holds(line)]
    if bad:
        raise Failure(f"text log lines that are not whole sentences: {bad[:5]}")
    if sum(line.startswith(b"$GP") for line in lines) < 10:
        raise Failure(f"too few sentences in the text log: {lines}")

    marker = MARKER_LINE.match(raw)
    if marker is None:
        raise Failure(f"the raw log does not start with the marker line: {raw[:80]!r}")
    position = marker.end()
    for line in lines[1:]:
        found = raw.find(line + b"\r\n", position)
        if found < 0:
            raise Failure(f"the raw log lacks the text log's line {line!r} (or has it out of "
                          f"order)")
        position = found + len(line) + 2


def sanitizer_skip_reason(sanitizer):
    """Why the run cannot judge a program built with these sanitizers, or None."""
    if "thread" in sanitizer.split(","):
        return ("ThreadSanitizer cannot judge the program on a real display: the system's Qt, "
                "xcb, GLib and D-Bus libraries are not instrumented, so their own threads (the X "
                "event reader, the accessibility bus connection) and every hand-off through "
                "Qt's event queue look like data races to it. The thread tests cover our own "
                "threads under ThreadSanitizer.")
    return None


def sanitizer_environment(sanitizer):
    """Changes to the sanitizer options for the program on a real display."""
    if "address" not in sanitizer.split(","):
        return {}
    # The X keyboard library (not instrumented) hands strndup a buffer of the given length
    # without a terminating zero, which the strict string check takes for an overflow.
    inherited = os.environ.get("ASAN_OPTIONS", "")
    return {"ASAN_OPTIONS": (inherited + ":" if inherited else "") + "strict_string_checks=0"}


def run_in_session(arguments):
    """Runs the scenario; returns the exit status."""
    program = os.path.abspath(arguments.program)
    if not os.access(program, os.X_OK):
        print(f"e2e: no program to run at {program}")
        return 1
    for tool in ("Xvfb", "xdotool", BUS_LAUNCHER) + (("import",) if arguments.screenshot
                                                      else ()):
        if shutil.which(tool) is None:
            print(f"e2e: {tool} is missing; scripts/install-deps.sh installs it")
            return 1
    if MISSING_BINDINGS is not None:
        print(f"e2e: the accessibility bindings are missing ({MISSING_BINDINGS}); "
              "scripts/install-deps.sh installs them")
        return 1

    started = time.monotonic()
    work_dir = Path(tempfile.mkdtemp(prefix="zedezuze-e2e-"))
    desktop = Desktop(work_dir)
    run = Run(desktop, work_dir, started)
    extra_env = sanitizer_environment(arguments.sanitizer)
    passed = False
    try:
        run.start(program, extra_env)
        run.connect_simulated_receiver()
        run.check_pictures()
        run.check_default_layout()
        if arguments.screenshot:
            run.screenshot(arguments.screenshot)
        run.check_position_and_log()
        run.check_preset_restart()
        run.record()
        run.disconnect()
        run.replay()
        run.close(timeout=20)
        passed = True
    except (Failure, window_query.QueryError) as failure:
        print(f"e2e: FAILED: {failure}", flush=True)
        if desktop.app is not None:
            print(desktop.program_output())
    finally:
        desktop.stop()
        if passed:
            shutil.rmtree(work_dir, ignore_errors=True)
        else:
            print(f"e2e: the work folder is kept: {work_dir}")
    print(f"e2e: {'passed' if passed else 'failed'} in {time.monotonic() - started:.1f} s")
    return 0 if passed else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--screenshot", metavar="PNG")
    parser.add_argument("--sanitizer", default="")
    arguments = parser.parse_args()

    reason = sanitizer_skip_reason(arguments.sanitizer)
    if reason is not None:
        print(f"e2e: skipped: {reason}")
        return SKIPPED

    if os.environ.get(SESSION_MARK) != "1":
        # A private session bus for the run; it ends with the run.
        if shutil.which("dbus-run-session") is None:
            print("e2e: dbus-run-session is missing; scripts/install-deps.sh installs it")
            return 1
        os.environ[SESSION_MARK] = "1"
        script = os.path.abspath(__file__)
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, script,
                                       *sys.argv[1:]])

    # A stop from outside (a test time-out) still stops the program and the X server.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    return run_in_session(arguments)


if __name__ == "__main__":
    sys.exit(main())
