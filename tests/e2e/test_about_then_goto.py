#!/usr/bin/python3
"""After the About box closes, the editor's keys work again: Ctrl+G opens
Go to Line, whether the box came from the Help menu or the toolbar."""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import has_state, name, role  # noqa: E402

HELLO = "public class Hello {\n    public static void main(String[] args) {\n    }\n}\n"


class AboutThenGoto(desktop.DesktopTest):

    def close_about_and_go_to_line(self, close_key, line):
        desk = self.desk
        desk.focus_dialog(r"^About Quillet$")
        desk.key(close_key)
        desk.wait_window_gone(r"^About Quillet$", what="the About box closing on " + close_key)
        # No click: the keys go wherever the program put the focus back.
        desk.key("ctrl+g")
        desk.focus_dialog(r"^Goto Line", timeout=10)
        desk.type(str(line))
        desk.key("Return")
        desk.wait_window_gone(r"^Goto Line")
        desk.wait_status_line(line)

    def test_ctrl_g_works_after_the_about_box(self):
        desk = self.desk
        source = os.path.join(desk.work, "Hello.java")
        with open(source, "w") as f:
            f.write(HELLO)
        desk.start_program(source)
        desk.editor()

        # The toolbar's About button, the box closed with Escape.
        about = desk.find(pred=lambda a: role(a) == "push button" and has_state(a, "showing")
                          and desktop.clean(name(a)) == "About",
                          what="the About button of the Tools toolbar")
        desk.click_acc(about)
        self.close_about_and_go_to_line("Escape", 3)

        # Help > About Quillet... with the keys, the box closed with Return.
        desk.key("alt+h")
        desk.key("a")
        self.close_about_and_go_to_line("Return", 2)


if __name__ == "__main__":
    desktop.main()
