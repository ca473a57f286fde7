#!/usr/bin/env python3
"""Cold start of the whole editor on a huge Java file, against vim.

Usage: open_huge.py QUILLET SCRATCH

Makes (once) a 100 MB file of whole Java sources from the JDK's src.zip,
its last line a comment of its own, the same text ten times over as a 1 GB
file (unless OPEN_HUGE_NO_GIGABYTE is set), and an empty file in SCRATCH,
then measures in one run, for each huge file:
  - quillet on the empty file: time until its window is painted, peak memory;
  - quillet on the huge file, Ctrl+End pressed once its window has painted: time
    from launch until a paint shows the last line while the line pane reads
    its number, peak memory then, and again after one typed character;
  - vim -u NONE -n on the huge file in an 80x24 pseudo-terminal with G typed
    ahead: time until the last line is on its screen, peak memory then.
Times are the median of the runs (OPEN_HUGE_RUNS, default 3), memory the
largest peak. The editor reports its paints through QUILLET_PAINT_REPORT.
Exits 1 with a message when anything cannot be measured; every wait has a
timeout.
"""

import fcntl
import os
import pty
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import termios
import time
import zipfile

SOURCES = "/usr/lib/jvm/openjdk-17/lib/src.zip"
HUGE_BYTES = 100 * 1000 * 1000
# The file's last line: a comment found nowhere in the sources, without
# spaces so that a terminal prints it as one run of characters.
LAST_LINE = b"//QuilletOpenHugeLastLine"
START_TIMEOUT = 120.0
STEP_TIMEOUT = 60.0


class Unmeasured(Exception):
    pass


def make_huge_file(path):
    """Concatenates .java entries of the JDK's sources until HUGE_BYTES."""
    if os.path.exists(path) and os.path.getsize(path) > HUGE_BYTES // 2:
        return
    if not os.path.exists(SOURCES):
        raise Unmeasured(SOURCES + " is missing: install openjdk-17-source")
    budget = HUGE_BYTES - len(LAST_LINE) - 1
    parts = []
    size = 0
    # Whole files, so that no comment or string is left open at the end.
    with zipfile.ZipFile(SOURCES) as archive:
        for entry in archive.infolist():
            if not entry.filename.endswith(".java"):
                continue
            text = archive.read(entry)
            if not text.endswith(b"\n"):
                text += b"\n"
            if size + len(text) > budget:
                break
            parts.append(text)
            size += len(text)
    data = b"".join(parts)
    if len(data) < budget * 0.99:
        raise Unmeasured("the JDK's sources hold only %d bytes of Java" % len(data))
    if LAST_LINE in data:
        raise Unmeasured("the marker of the last line occurs in the sources")
    partial = path + ".part"
    with open(partial, "wb") as out:
        out.write(data)
        out.write(LAST_LINE + b"\n")
    os.replace(partial, path)


def peak_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise Unmeasured("no VmHWM for process %d" % pid)


def wait_for(what, timeout, probe, interval=0.005):
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            raise Unmeasured("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class XServer:
    """Xvfb on a display it picks itself and reports once it accepts clients."""

    def __init__(self, folder):
        read_end, write_end = os.pipe()
        self.log = open(os.path.join(folder, "Xvfb.log"), "wb")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=self.log, stderr=self.log)
        os.close(write_end)
        # The number comes as a line, maybe in pieces; the server fails if
        # the pipe closes before the whole line is written.
        line = b""
        end = time.monotonic() + START_TIMEOUT
        while not line.endswith(b"\n") and time.monotonic() < end:
            ready, _, _ = select.select([read_end], [], [], max(end - time.monotonic(), 0))
            piece = os.read(read_end, 64) if ready else b""
            if not piece:
                break
            line += piece
        os.close(read_end)
        number = line.decode().strip() if line.endswith(b"\n") else ""
        if not number:
            self.close()
            raise Unmeasured("Xvfb reported no display (log: %s)" % self.log.name)
        self.display = ":" + number

    def close(self):
        self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.log.close()


class Editor:
    """One cold start of quillet on its own display, settings and temporary folder."""

    def __init__(self, program, server, folder, path, settings=""):
        self.server = server
        self.report = os.path.join(folder, "paints.txt")
        for sub in ("config/Tarrow Samples", "data", "state", "tmp"):
            os.makedirs(os.path.join(folder, sub), exist_ok=True)
        # The association question has been answered, as on any later start.
        with open(os.path.join(folder, "config/Tarrow Samples/Quillet.conf"), "w") as conf:
            conf.write("[Java%20Files]\nAssociate=0\n" + settings)
        env = dict(os.environ, DISPLAY=server.display, QT_QPA_PLATFORM="xcb", HOME=folder,
                   XDG_CONFIG_HOME=os.path.join(folder, "config"),
                   XDG_DATA_HOME=os.path.join(folder, "data"),
                   XDG_STATE_HOME=os.path.join(folder, "state"),
                   # The single-instance socket lives here: another quillet
                   # of the same user must not take the file over.
                   TMPDIR=os.path.join(folder, "tmp"),
                   QUILLET_PAINT_REPORT=self.report)
        self.log = open(os.path.join(folder, "quillet.log"), "wb")
        self.started = time.monotonic()
        self.process = subprocess.Popen([program, path], env=env, stdout=self.log, stderr=self.log)
        self.seen = 0
        self.window = None

    def xdo(self, *args):
        try:
            result = subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=self.server.display),
                                    capture_output=True, text=True, timeout=STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Unmeasured("xdotool %s did not finish within %.0f s" % (" ".join(args), STEP_TIMEOUT))
        return result.stdout.strip()

    def check_running(self):
        if self.process.poll() is not None:
            self.log.flush()
            with open(self.log.name, errors="replace") as log:
                tail = log.read()[-2000:]
            raise Unmeasured("quillet ended with status %s; its output:\n%s" % (self.process.returncode, tail))

    def focus(self):
        def window():
            self.check_running()
            found = self.xdo("search", "--onlyvisible", "--pid", str(self.process.pid), "--name", "Quillet")
            return found.splitlines()[0] if found else None
        self.window = wait_for("the Quillet window", START_TIMEOUT, window, 0.02)
        # Keys go to the window once it has painted its text, as a user
        # would press them; no window manager runs on the display, so the
        # window takes the focus itself.
        first = self.wait_for_paint("the first paint of the text", lambda paint: True)
        self.xdo("windowfocus", "--sync", self.window)
        return first

    def key(self, *keys):
        self.xdo("key", *keys)

    def type(self, text):
        self.xdo("type", text)

    def paints(self):
        """The paint lines reported since the last call."""
        try:
            with open(self.report, "rb") as report:
                report.seek(self.seen)
                text = report.read()
        except FileNotFoundError:
            return []
        complete = text[: text.rfind(b"\n") + 1]
        self.seen += len(complete)
        lines = []
        for line in complete.decode(errors="replace").splitlines():
            fields = line.split(" ")
            if len(fields) == 6:
                lines.append({"process": float(fields[0]), "clock": float(fields[1]), "first": int(fields[2]),
                              "last": int(fields[3]), "line": fields[4], "column": fields[5]})
        return lines

    def wait_for_paint(self, what, condition):
        def probe():
            self.check_running()
            for paint in self.paints():
                if condition(paint):
                    return paint
            return None
        return wait_for(what, START_TIMEOUT, probe)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self.log.close()


def measure_quillet(program, server, path, last_line, type_at_end):
    """Seconds to the last line shown, peak KiB then, peak KiB after typing."""
    folder = tempfile.mkdtemp(prefix="quillet-open-huge-")
    editor = Editor(program, server, folder, path)
    try:
        def on_last_line(p):
            return p["first"] <= last_line <= p["last"] and p["line"] == "Line:%d" % last_line
        first = editor.focus()
        editor.key("ctrl+End")
        # A file of one line shows its last line from the start.
        shown = first if on_last_line(first) else editor.wait_for_paint(
            "a paint that shows line %d with the caret on it" % last_line, on_last_line)
        seconds = shown["clock"] - editor.started
        peak = peak_kib(editor.process.pid)
        typed_peak = None
        if type_at_end:
            editor.type("x")
            editor.wait_for_paint(
                "a paint after the typed character",
                lambda p: p["line"] == "Line:%d" % last_line and p["column"] != shown["column"]
                and p["first"] <= last_line <= p["last"])
            typed_peak = peak_kib(editor.process.pid)
        return seconds, peak, typed_peak
    finally:
        editor.close()
        shutil.rmtree(folder, ignore_errors=True)


def measure_vim(path):
    """Seconds until vim's screen shows the last line after G, and peak KiB."""
    pid, master = pty.fork()
    if pid == 0:
        os.environ["TERM"] = "xterm"
        os.execvp("vim", ["vim", "-u", "NONE", "-n", path])
    started = time.monotonic()
    try:
        fcntl.ioctl(master, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 80, 0, 0))
        os.kill(pid, signal.SIGWINCH)
        os.write(master, b"G")
        seen = b""
        end = started + START_TIMEOUT
        while LAST_LINE not in seen:
            left = end - time.monotonic()
            if left <= 0:
                raise Unmeasured("vim did not show the last line within %.0f s" % START_TIMEOUT)
            ready, _, _ = select.select([master], [], [], left)
            if ready:
                try:
                    chunk = os.read(master, 65536)
                except OSError:
                    chunk = b""
                if not chunk:
                    raise Unmeasured("vim ended before it showed the last line")
                # The marker may straddle two reads.
                seen = seen[-len(LAST_LINE):] + chunk
        seconds = time.monotonic() - started
        peak = peak_kib(pid)
        os.write(master, b"\x1b:q!\r")
        end = time.monotonic() + STEP_TIMEOUT
        while time.monotonic() < end:
            done, _ = os.waitpid(pid, os.WNOHANG)
            if done:
                pid = 0
                break
            if select.select([master], [], [], 0.05)[0]:
                try:
                    os.read(master, 65536)
                except OSError:
                    pass
        return seconds, peak
    finally:
        if pid:
            os.kill(pid, signal.SIGKILL)
            os.waitpid(pid, 0)
        os.close(master)


def last_line_number(path):
    """The editor's last line: one more than the line feeds."""
    with open(path, "rb") as data:
        feeds = 0
        while True:
            block = data.read(1 << 24)
            if not block:
                return feeds + 1
            feeds += block.count(b"\n")


def make_gigabyte_file(huge, path):
    """The huge file's text ten times over, its last line once at the end."""
    if os.path.exists(path) and os.path.getsize(path) > 9 * HUGE_BYTES:
        return
    with open(huge, "rb") as source:
        body = source.read()
    body = body[: len(body) - len(LAST_LINE) - 1]
    partial = path + ".part"
    with open(partial, "wb") as out:
        for _ in range(10):
            out.write(body)
        out.write(LAST_LINE + b"\n")
    os.replace(partial, path)


def compare(program, server, path, runs, empty_peak, memory_target):
    """Prints quillet against vim on one file."""
    size = os.path.getsize(path)
    last = last_line_number(path)
    huges, vims = [], []
    for _ in range(runs):
        huges.append(measure_quillet(program, server, path, last, True))
        vims.append(measure_vim(path))
    mib = 1024.0
    huge_time = statistics.median(r[0] for r in huges)
    huge_peak = max(r[1] for r in huges)
    typed_peak = max(r[2] for r in huges)
    vim_time = statistics.median(r[0] for r in vims)
    vim_peak = max(r[1] for r in vims)
    print()
    print("Cold open of %s: %d bytes, %d lines; median of %d runs" % (path, size, last, runs))
    print("%-32s %10s %12s %18s" % ("", "time s", "peak MiB", "peak typed MiB"))
    print("%-32s %10.3f %12.1f %18.1f" % ("quillet, Ctrl+End to last line", huge_time, huge_peak / mib,
                                          typed_peak / mib))
    print("%-32s %10.3f %12.1f %18s" % ("vim -u NONE -n, G", vim_time, vim_peak / mib, "-"))
    print("quillet time / vim time:                          %.2f  (target <= 1.0, stretch 0.5)"
          % (huge_time / vim_time))
    print("(quillet peak - empty peak) / file bytes:         %.2f  (target <= %.1f)"
          % ((huge_peak - empty_peak) * 1024.0 / size, memory_target))
    print("(peak after typing - empty peak) / file bytes:    %.2f  (target <= 1.5)"
          % ((typed_peak - empty_peak) * 1024.0 / size))
    print("vim peak / file bytes:                            %.2f" % (vim_peak * 1024.0 / size))


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    program, scratch = sys.argv[1], sys.argv[2]
    runs = int(os.environ.get("OPEN_HUGE_RUNS", "3"))
    if not os.access(program, os.X_OK):
        raise Unmeasured("no quillet program at " + program)
    for tool in ("Xvfb", "xdotool", "vim"):
        if not shutil.which(tool):
            raise Unmeasured(tool + " is missing")
    os.makedirs(scratch, exist_ok=True)
    huge = os.path.join(scratch, "huge.java")
    gigabyte = os.path.join(scratch, "huge1g.java")
    empty = os.path.join(scratch, "empty.java")
    make_huge_file(huge)
    if "OPEN_HUGE_NO_GIGABYTE" not in os.environ:
        make_gigabyte_file(huge, gigabyte)
    open(empty, "wb").close()

    server = XServer(scratch)
    try:
        empties = [measure_quillet(program, server, empty, 1, False) for _ in range(runs)]
        empty_time = statistics.median(r[0] for r in empties)
        empty_peak = max(r[1] for r in empties)
        print("%-32s %10s %12s" % ("", "time s", "peak MiB"))
        print("%-32s %10.3f %12.1f" % ("quillet, empty file", empty_time, empty_peak / 1024.0))
        compare(program, server, huge, runs, empty_peak, 1.3)
        if "OPEN_HUGE_NO_GIGABYTE" not in os.environ:
            compare(program, server, gigabyte, runs, empty_peak, 1.2)
    finally:
        server.close()
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Unmeasured as problem:
        print("open_huge: cannot measure: %s" % problem, file=sys.stderr)
        sys.exit(1)
