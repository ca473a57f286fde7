#!/usr/bin/env python3
"""The 100 MB cold open with a screen reader listening, against the same open
without assistive technology, in one run.

Usage: dbus-run-session -- /usr/bin/python3 bench/open_huge_atspi.py [QUILLET]

Starts a desktop of its own (Xvfb, openbox, a private accessibility bus, as
the desktop tests do) and registers a listener for caret and text events
that asks each event's text for its caret offset, as a screen reader does.
Then opens the file of bench/open_huge.sh (made once in
$QUILLET_BENCH_SCRATCH, default ~/.cache/quillet-bench) three times each
way, Ctrl+End once the window has painted, and times launch to the paint
that shows the last line with the line pane on it. Without assistive
technology the editor cannot reach the accessibility bus; with it,
QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set. Prints the medians, their ratio,
the peaks and the events the listener heard.
"""

import os
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "e2e"))
sys.path.insert(0, here)
import desktop  # noqa: E402
from open_huge import Unmeasured, last_line_number, make_huge_file, peak_kib  # noqa: E402

TIMEOUT = 120.0


def open_to_last_line(desk, program, path, last, with_reader):
    report = os.path.join(desk.work, "paints-%f.txt" % time.monotonic())
    env = desk._base_env()
    env.update({"QT_QPA_PLATFORM": "xcb", "QUILLET_PAINT_REPORT": report})
    if with_reader:
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    else:
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    started = time.monotonic()
    editor = subprocess.Popen([program, path], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        seen, pressed = 0, False
        while time.monotonic() < started + TIMEOUT:
            desktop._pump()  # the listener hears what has come
            try:
                with open(report) as paints:
                    lines = paints.read().splitlines()
            except FileNotFoundError:
                lines = []
            if lines and not pressed:
                found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(editor.pid),
                                        "--name", "Quillet"], env=env, capture_output=True, text=True).stdout.split()
                if found:
                    subprocess.run(["xdotool", "windowfocus", "--sync", found[0]], env=env)
                    subprocess.run(["xdotool", "key", "ctrl+End"], env=env)
                    pressed = True
            for line in lines[seen:]:
                fields = line.split(" ")
                if len(fields) == 6 and int(fields[2]) <= last <= int(fields[3]) and fields[4] == "Line:%d" % last:
                    return float(fields[1]) - started, peak_kib(editor.pid)
            seen = len(lines)
            time.sleep(0.005)
        raise Unmeasured("the last line did not show within %.0f s" % TIMEOUT)
    finally:
        editor.kill()
        editor.wait()


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "bin", "quillet")
    scratch = os.environ.get("QUILLET_BENCH_SCRATCH", os.path.expanduser("~/.cache/quillet-bench"))
    os.makedirs(scratch, exist_ok=True)
    huge = os.path.join(scratch, "huge.java")
    make_huge_file(huge)
    last = last_line_number(huge)
    heard = [0]
    with desktop.Desktop() as desk:
        Atspi = desktop.atspi()

        def read_caret(event):
            heard[0] += 1
            try:
                event.source.get_text_iface().get_caret_offset()
            except Exception:
                pass

        listener = Atspi.EventListener.new(read_caret)
        for kind in ("object:text-caret-moved", "object:text-changed", "object:state-changed:focused"):
            listener.register(kind)
        runs = {False: [], True: []}
        for _ in range(3):
            for with_reader in (False, True):
                runs[with_reader].append(open_to_last_line(desk, program, huge, last, with_reader))
    plain = statistics.median(r[0] for r in runs[False])
    read = statistics.median(r[0] for r in runs[True])
    print("Cold open of %s to its last line, median of 3" % huge)
    print("without assistive technology: %.3f s, peak %.0f MiB" % (plain, max(r[1] for r in runs[False]) / 1024))
    print("with a listening reader:      %.3f s, peak %.0f MiB, %d events heard"
          % (read, max(r[1] for r in runs[True]) / 1024, heard[0]))
    print("with / without: %.2f  (target <= 1.2)" % (read / plain))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Unmeasured as problem:
        print("open_huge_atspi: cannot measure: %s" % problem, file=sys.stderr)
        sys.exit(1)
