#!/usr/bin/env python3
"""The editor while a program prints without end in its console.

Usage: console_flood.py QUILLET

Starts quillet on a small Java file with the application launcher set to a
script that prints lines without pause, runs it with Shift+F5 into the
console, and measures in one run:
  - key latency: characters typed into the edit window one at a time, each
    timed from the key to the paint whose column pane shows it, first with
    the console idle, then while the flood runs (median and worst);
  - memory: the peak (VmHWM) before the flood, after FLOOD_SECONDS of it
    (default 10), and its growth over the second half of that time, which
    stays near zero when the console keeps only its scrollback;
  - stop: Ctrl+C in the console, timed until the flooding program is gone.
The editor reports its paints through QUILLET_PAINT_REPORT. Exits 1 with a
message when anything cannot be measured; every wait has a timeout.
"""

import os
import shutil
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from open_huge import Editor, Unmeasured, XServer, peak_kib, wait_for  # noqa: E402

KEYS = 20
STEP_TIMEOUT = 30.0
JAVA = b"public class Flood {\n    public static void main(String[] args) {\n    }\n}\n"
FLOOD = """#!/bin/sh
exec yes "flooding the console with a line of text that goes on and on, 0123456789"
"""


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise Unmeasured("no VmRSS for process %d" % pid)


def children(pid, name):
    """Processes below pid (at any depth) whose command is name."""
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as stat:
                    text = stat.read()
                command = text[text.index("(") + 1:text.rindex(")")]
                parent = int(text[text.rindex(")") + 2:].split()[1])
                parents[int(entry)] = (parent, command)
            except (OSError, ValueError):
                continue
    found = []
    for child, (parent, command) in parents.items():
        ancestor = parent
        while ancestor in parents and ancestor != pid:
            ancestor = parents[ancestor][0]
        if ancestor == pid and command == name:
            found.append(child)
    return found


def column_number(paint):
    text = paint["column"]
    return int(text.split(":")[1]) if ":" in text else -1


def type_and_time(editor, keys):
    """Seconds from each key to the paint that shows it."""
    latencies = []
    for _ in range(keys):
        editor.paints()  # what was painted before this key
        before = editor.last_column
        sent = time.monotonic()
        editor.type("x")
        shown = editor.wait_for_paint("the typed character on screen",
                                      lambda p: column_number(p) == before + 1)
        editor.last_column = before + 1
        latencies.append(shown["clock"] - sent)
        time.sleep(0.05)
    return latencies


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    program = sys.argv[1]
    seconds = float(os.environ.get("FLOOD_SECONDS", "10"))
    if not os.access(program, os.X_OK):
        raise Unmeasured("no quillet program at " + program)
    for tool in ("Xvfb", "xdotool", "yes"):
        if not shutil.which(tool):
            raise Unmeasured(tool + " is missing")
    folder = tempfile.mkdtemp(prefix="quillet-console-flood-")
    source = os.path.join(folder, "Flood.java")
    with open(source, "wb") as out:
        out.write(JAVA)
    flood = os.path.join(folder, "flood.sh")
    with open(flood, "w") as out:
        out.write(FLOOD)
    os.chmod(flood, 0o755)

    server = XServer(folder)
    editor = None
    try:
        editor = Editor(program, server, folder, source, "[Tools]\nApp%%20Viewer=%s\n" % flood)
        editor.focus()
        # The caret goes to the end of the file's last line, column 1.
        editor.key("ctrl+End")
        editor.last_column = 1
        editor.wait_for_paint("the caret at the end", lambda p: column_number(p) == 1)
        idle = type_and_time(editor, KEYS)
        editor.last_column = 1 + KEYS
        before_flood = peak_kib(editor.process.pid)

        editor.key("shift+F5")
        dialog = wait_for("the Execute dialog", STEP_TIMEOUT,
                          lambda: editor.xdo("search", "--onlyvisible", "--name", "Invoke App"), 0.05)
        editor.xdo("windowfocus", "--sync", dialog.splitlines()[0])
        editor.key("Return")
        floods = wait_for("the flooding program", STEP_TIMEOUT,
                          lambda: children(editor.process.pid, "yes"), 0.05)
        started = time.monotonic()
        # Back into the text, as a user who goes on editing.
        editor.xdo("windowfocus", "--sync", editor.window)
        editor.xdo("mousemove", "--window", editor.window, "600", "160", "click", "1")
        time.sleep(1.0)
        editor.paints()
        editor.key("ctrl+End")
        wait_for("the caret at the end again", STEP_TIMEOUT,
                 lambda: any(column_number(p) == editor.last_column for p in editor.paints()), 0.02)
        busy = type_and_time(editor, KEYS)
        time.sleep(max(0.0, seconds / 2 - (time.monotonic() - started)))
        half = rss_kib(editor.process.pid)
        time.sleep(max(0.0, seconds - (time.monotonic() - started)))
        after = rss_kib(editor.process.pid)
        flood_peak = peak_kib(editor.process.pid)
        if not children(editor.process.pid, "yes"):
            raise Unmeasured("the flooding program ended by itself")

        # Ctrl+C in the console, at the bottom of the window.
        geometry = editor.xdo("getwindowgeometry", editor.window)
        height = int(geometry.split("Geometry: ")[1].split("x")[1])
        editor.xdo("mousemove", "--window", editor.window, "600", str(height - 60), "click", "1")
        time.sleep(0.3)
        pressed = time.monotonic()
        editor.key("ctrl+c")
        wait_for("the flooding program to end", STEP_TIMEOUT,
                 lambda: not any(os.path.exists("/proc/%d" % pid) and
                                 open("/proc/%d/stat" % pid).read().split()[2] != "Z" for pid in floods), 0.005)
        stopped = time.monotonic() - pressed
    finally:
        if editor:
            editor.close()
        server.close()
        shutil.rmtree(folder, ignore_errors=True)

    ms = 1000.0
    print("Console flood: %d keys typed idle and while flooding, %.0f s of flood" % (KEYS, seconds))
    print("%-36s %10s %10s" % ("", "median ms", "worst ms"))
    print("%-36s %10.1f %10.1f" % ("key to screen, console idle", statistics.median(idle) * ms, max(idle) * ms))
    print("%-36s %10.1f %10.1f" % ("key to screen, console flooding", statistics.median(busy) * ms,
                                   max(busy) * ms))
    print("flooding / idle median latency:      %.2f  (target: flooding median <= 50 ms)"
          % (statistics.median(busy) / statistics.median(idle)))
    print("peak MiB before flood, after:        %.1f, %.1f" % (before_flood / 1024.0, flood_peak / 1024.0))
    print("RSS growth over the flood's 2nd half: %.1f MiB  (bounded by the scrollback: near 0)"
          % ((after - half) / 1024.0))
    print("Ctrl+C to the program's end:         %.1f ms" % (stopped * ms))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Unmeasured as problem:
        print("console_flood: cannot measure: %s" % problem, file=sys.stderr)
        sys.exit(1)
