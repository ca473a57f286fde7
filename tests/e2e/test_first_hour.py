#!/usr/bin/python3
"""What a newcomer meets in the first hour: the "*" of unsaved changes in the
title, line numbers that stay on for every file and after a restart, and
printing in colour chosen in Print Preview and kept for the next print."""

import os
import subprocess
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import clean, has_state, name, wait_until  # noqa: E402

HELLO = """public class Hello {
    // Says hello.
    public static void main(String[] args) {
        System.out.println("Hello");
    }
}
"""


def coloured_pixels(ppm):
    """Pixels of a binary PPM that are clearly coloured (not grey)."""
    with open(ppm, "rb") as image:
        data = image.read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    pixels = data[at + 1:]
    coloured = 0
    for i in range(0, len(pixels) - 2, 3):
        r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
        if max(r, g, b) - min(r, g, b) > 60:
            coloured += 1
    return coloured


class FirstHour(desktop.DesktopTest):

    def frame_title(self):
        return clean(name(self.desk.main_window))

    def view_entry(self, text):
        entries = dict(self.desk.menu_entries(self.desk.menus()["View"]))
        self.assertIn(text, entries, "the View menu reads %s" % sorted(entries))
        return entries[text]

    def choose(self, menu_key, entry_text, menu_title):
        """Opens a menu with its key and clicks an entry, as a person does."""
        desk = self.desk
        desk.key(menu_key)
        entry = dict(desk.menu_entries(desk.menus()[menu_title]))[entry_text]
        wait_until(lambda: has_state(entry, "showing"), "the %s menu open" % menu_title, timeout=10)
        desk.click_acc(entry)

    def test_unsaved_mark_line_numbers_and_colour_print(self):
        desk = self.desk
        hello = os.path.join(desk.work, "Hello.java")
        other = os.path.join(desk.work, "Other.java")
        with open(hello, "w") as f:
            f.write(HELLO)
        with open(other, "w") as f:
            f.write(HELLO.replace("Hello", "Other"))
        desk.start_program(hello)
        desk.editor()

        # Typing marks the title with "*"; saving takes it away.
        wait_until(lambda: self.frame_title() == "Quillet - Hello.java", "the title naming Hello.java",
                   context=lambda: self.frame_title())
        desk.click_into_text()
        desk.key("ctrl+End")
        desk.type("//")
        wait_until(lambda: self.frame_title() == "Quillet - Hello.java*", "the title's * after typing",
                   context=lambda: self.frame_title())
        desk.key("ctrl+s")
        wait_until(lambda: self.frame_title() == "Quillet - Hello.java", "the * gone after Ctrl+S",
                   context=lambda: self.frame_title())
        with open(hello) as f:
            self.assertEqual(f.read(), HELLO + "//")

        # Line numbers on, then Print Preview with Print in colour ticked.
        self.assertFalse(has_state(self.view_entry("Line Numbers"), "checked"))
        self.choose("alt+v", "Line Numbers", "View")
        wait_until(lambda: has_state(self.view_entry("Line Numbers"), "checked"), "Line Numbers checked")
        self.choose("alt+f", "Print Preview", "File")
        preview = desk.dialog(r"Print Preview")
        colour = desk.find("check box", name_re=r"^Print in co.?lour$", root=preview,
                           what="Print in colour in Print Preview")
        self.assertFalse(has_state(colour, "checked"))
        desk.click_acc(colour)
        wait_until(lambda: has_state(colour, "checked"), "Print in colour ticked")
        desk.focus_dialog(r"Print Preview")
        desk.key("Escape")
        desk.wait_window_gone(r"Print Preview")
        desk.quit_program()

        # Another file after a restart: line numbers are still on.
        desk.start_program(other)
        desk.editor()
        wait_until(lambda: has_state(self.view_entry("Line Numbers"), "checked"),
                   "Line Numbers still checked after a restart")
        desk.quit_program()

        # The next print is in colour: keywords, comments and strings.
        pdf = os.path.join(desk.work, "Hello.pdf")
        env = desk._base_env()
        env["QT_QPA_PLATFORM"] = "offscreen"
        run = subprocess.run([os.path.join(desktop.program_dir(), "quillet"), "--print-to-pdf", hello, pdf],
                             env=env, capture_output=True, text=True, timeout=120)
        self.assertEqual(run.returncode, 0, run.stderr)
        prefix = os.path.join(desk.work, "page")
        subprocess.run(["pdftoppm", "-r", "50", "-f", "1", "-l", "1", pdf, prefix], check=True, timeout=60)
        self.assertGreater(coloured_pixels(prefix + "-1.ppm"), 50, "the printed page has no colour")


if __name__ == "__main__":
    desktop.main()
