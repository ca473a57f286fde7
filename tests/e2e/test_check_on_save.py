#!/usr/bin/python3
"""The check on save as a Java developer meets it: with the JDK's compiler
set in the Tools settings, Ctrl+S on a file that lacks a semicolon puts
javac's message in the main status bar while the caret is on that line,
without F7 and without the output window; the fix, saved, takes it away."""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import has_state, text_of, wait_until  # noqa: E402

JDK = "/usr/lib/jvm/java-17-openjdk-amd64"

# Line 5 lacks its semicolon.
SOURCE = """package shop;

public class Till {
    int total(int a, int b) {
        int sum = a + b
        return sum;
    }
}
"""
ERROR_LINE = 5
MESSAGE = "error: ';' expected"


class CheckOnSave(desktop.DesktopTest):

    def test_a_saved_mistake_shows_on_its_line_until_the_fix_is_saved(self):
        if not os.access(os.path.join(JDK, "bin", "javac"), os.X_OK):
            raise desktop.unittest.SkipTest("no JDK at " + JDK)
        desk = self.desk
        desk.write_settings({"Tools": {"Java%20Compiler": JDK + "/bin/javac"}})
        folder = os.path.join(desk.work, "shop")
        os.makedirs(folder)
        source = os.path.join(folder, "Till.java")
        with open(source, "w") as f:
            f.write(SOURCE)
        desk.start_program(source)
        desk.editor()
        self.desk.wait_message("Ready", "the message pane saying Ready")

        # A change and Ctrl+S with the caret on the faulty line.
        desk.click_into_text()
        desk.go_to_line(ERROR_LINE)
        desk.key("End")
        desk.type(" ")
        desk.key("ctrl+s")
        wait_until(lambda: "a + b \n" in open(source).read(), "the change saved")
        self.desk.wait_message(MESSAGE, "javac's message in the message pane")
        self.assertFalse(any(has_state(a, "showing") for a in desktop.walk(desk.main_window)
                             if desktop.name(a) == "Output Window"),
                         "the check opened the output window")

        # Away from the line the pane says Ready; back on it, the message.
        desk.key("Up")
        desk.wait_status_line(ERROR_LINE - 1)
        self.desk.wait_message("Ready", "the message pane back to Ready on another line")
        desk.key("Down")
        desk.wait_status_line(ERROR_LINE)
        self.desk.wait_message(MESSAGE, "the message again with the caret on its line")

        # The fix, saved: the message goes.
        desk.key("End", "BackSpace")
        desk.type(";")
        wait_until(lambda: "a + b;" in text_of(desk.editor()), "the semicolon in the text",
                   context=lambda: text_of(desk.editor()))
        desk.key("ctrl+s")
        wait_until(lambda: "a + b;\n" in open(source).read(), "the fix saved")
        self.desk.wait_message("Ready", "the message gone after the fix was saved")
        # No class file lands beside the source.
        self.assertEqual(sorted(os.listdir(folder)), ["Till.java"])


if __name__ == "__main__":
    desktop.main()
