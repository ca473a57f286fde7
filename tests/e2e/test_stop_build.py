#!/usr/bin/python3
"""A compiler that never ends holds nothing up: with the Java compiler set to
a script that sleeps, F7 starts it and the status bar says so, typing goes
into the text meanwhile, and Build > Stop Build, chosen with the keys, ends
the script and its sleep; the status bar and the output window then say
that the build was stopped."""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import is_enabled, text_of, wait_until  # noqa: E402

SOURCE = "public class Slow {\n}\n"
TYPED = "// typed while it compiles"


def living_members(group):
    """The processes of the group that have not ended (zombies that nobody
    reaps count as ended)."""
    living = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat[stat.rindex(")") + 2:].split()
        if int(fields[2]) == group and fields[0] != "Z":
            living.append(int(entry))
    return living


class StopBuild(desktop.DesktopTest):

    def build_entry(self, text):
        return dict(self.desk.menu_entries(self.desk.menus()["Build"]))[text]

    def test_typing_goes_on_while_it_compiles_and_stop_build_ends_it(self):
        desk = self.desk
        compiler = os.path.join(desk.work, "sleeping-javac")
        pid_file = os.path.join(desk.work, "compiler.pid")
        with open(compiler, "w") as f:
            f.write("#!/bin/sh\necho $$ > '%s'\necho compiling\nsleep 1000\n" % pid_file)
        os.chmod(compiler, 0o755)
        desk.write_settings({"Tools": {"Java%20Compiler": compiler}})
        source = os.path.join(desk.work, "Slow.java")
        with open(source, "w") as f:
            f.write(SOURCE)
        desk.start_program(source)
        desk.editor()
        desk.wait_message("Ready", "the message pane saying Ready")
        wait_until(lambda: not is_enabled(self.build_entry("Stop Build")),
                   "Stop Build greyed while nothing compiles", timeout=10)

        # F7 from the end of the text; the Compile dialog's proposal taken.
        desk.key("ctrl+End")
        desk.key("F7")
        desk.accept_tool_dialog(r"^Compile$")
        desk.wait_message("Compiling Slow.java\u2026", "the message pane saying what compiles", timeout=20)
        wait_until(lambda: os.path.exists(pid_file) and open(pid_file).read().strip(),
                   "the compiler script running")
        with open("/proc/%s/stat" % open(pid_file).read().strip()) as f:
            stat = f.read()
        group = int(stat[stat.rindex(")") + 2:].split()[2])
        self.assertTrue(living_members(group), "the compiler's process group")

        # Typing goes into the text while the compiler runs.
        desk.type(TYPED)
        wait_until(lambda: TYPED in text_of(desk.editor()), "the typed text in the editor",
                   context=lambda: text_of(desk.editor()))
        wait_until(lambda: is_enabled(self.build_entry("Stop Build")), "Stop Build enabled while it compiles",
                   timeout=10)
        self.assertFalse(is_enabled(self.build_entry("Compile")), "Compile enabled while it compiles")

        # Build > Stop Build with the keys.
        desk.key("alt+b")
        desk.key("s")
        desk.wait_message("Build stopped.", "the message pane saying the build was stopped", timeout=20)
        desk.wait_output_text(r"compiling\n\r?\nBuild stopped\.\s*$")
        wait_until(lambda: not living_members(group), "the compiler script and its sleep ended", timeout=10,
                   context=lambda: "still living: %r" % living_members(group))
        self.assertIn(TYPED, text_of(desk.editor()))
        wait_until(lambda: is_enabled(self.build_entry("Compile")), "Compile enabled again", timeout=10)


if __name__ == "__main__":
    desktop.main()
