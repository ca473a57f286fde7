#!/usr/bin/python3
"""Reaching things with the keyboard alone, as a person who uses no mouse:
F6 into the class tree, arrows to a method and Return goes to its line;
Find in Files with Alt+F to its folder field, then F4 twice steps to the
second result and Ctrl+Shift+R puts the focus in the results, where Down
and Return go to the next one; the Goto Line field is named for a screen
reader."""

import os
import re
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import clean, has_state, name, role, wait_until  # noqa: E402

SHAPES = """public class Shapes {
    private int count;

    public int area(int side) {
        return side * side;
    }

    public void grow() {
        count++;
    }
}
"""

FILES = {
    "Account.java": "public class Account {\n    private int balance;\n\n    int balance() {\n        return balance;\n    }\n}\n",
    "Bank.java": "public class Bank {\n    // no money here\n}\n",
}
SUMMARY = r"^(\d+) matches in (\d+) files; (\d+) files searched"


class KeyboardReach(desktop.DesktopTest):

    def wait_line_pane(self, line):
        """Waits for a child window's line pane to say the line; the panes
        of windows behind the active one read as showing too."""
        wait_until(lambda: any(clean(pane[1]) == "Line: %d" % line for pane in self.desk.status_panes()),
                   "a line pane saying Line: %d" % line,
                   context=lambda: "the status panes read: %r" % (self.desk.status_panes(),))

    def wait_focused_editor(self):
        wait_until(lambda: any(has_state(e, "focused") for e in self.desk.editors()), "the edit view focused",
                   timeout=10, context=lambda: desktop.dump(self.desk.main_window, max_depth=8))

    def test_f6_into_the_class_tree_and_return_on_a_method(self):
        desk = self.desk
        source = os.path.join(desk.work, "Shapes.java")
        with open(source, "w") as f:
            f.write(SHAPES)
        desk.start_program(source)
        desk.editor()
        self.wait_focused_editor()

        desk.key("F6")
        tree = desk.find(pred=lambda a: role(a) in ("tree", "tree table") and has_state(a, "showing"),
                         what="the class tree")
        wait_until(lambda: has_state(tree, "focused"), "the class tree focused after F6", timeout=10,
                   context=lambda: desktop.dump(tree, max_depth=3))
        # Shapes, then its field count, then area(int) on line 4.
        desk.key("Down", "Down")
        desk.key("Return")
        self.wait_line_pane(4)
        self.wait_focused_editor()
        # Only a focused tree's item says it is focused.
        focused = [clean(name(a)) for a in desktop.walk(tree, max_depth=4)
                   if a is not tree and has_state(a, "focused")]
        self.assertEqual(focused, [], "tree items claim the focus while the editor has it")

    def test_find_in_files_then_f4_twice_and_the_results_by_key(self):
        desk = self.desk
        folder = os.path.join(desk.work, "bank")
        os.makedirs(folder, exist_ok=True)
        for file_name, text in FILES.items():
            with open(os.path.join(folder, file_name), "w") as f:
                f.write(text)
        bank = os.path.join(folder, "Bank.java")
        desk.start_program(bank)
        desk.editor()

        desk.key("ctrl+shift+f")
        dialog = desk.dialog(r"^Find in Files$")
        desk.focus_dialog(r"^Find in Files$")
        desk.type("balance")
        # Alt+F reaches the folder field through its label.
        desk.key("alt+f")
        folder_field = desk.find("text", name_is="In folder", root=dialog, what="the In folder field")
        wait_until(lambda: has_state(folder_field, "focused"), "the In folder field focused by Alt+F",
                   timeout=10, context=lambda: desktop.dump(dialog))
        desk.key("Return")
        desk.wait_window_gone(r"^Find in Files$")

        listing = desk.find(pred=lambda a: role(a) in ("list", "list box") and name(a) == "Find Results"
                            and has_state(a, "showing"), what="the Find Results list")
        lines = wait_until(lambda: (lambda t: t if t and re.match(SUMMARY, t[-1]) else None)(
            [clean(name(i)) for i in desktop.children(listing)]), "the search's counts", timeout=30,
            context=lambda: desktop.dump(listing, max_depth=2))
        account = os.path.join(folder, "Account.java")
        self.assertEqual(lines[1], "%s:4:     int balance() {" % account)

        # F4 twice: the second result, Account.java line 4.
        desk.key("F4")
        wait_until(lambda: "Account.java" in name(desk.main_window), "Account.java in front after F4",
                   context=lambda: name(desk.main_window))
        self.wait_line_pane(2)
        desk.key("F4")
        self.wait_line_pane(4)

        # The list takes the focus with its key; Down and Return there go to
        # the next result and leave the text as it was.
        desk.key("ctrl+shift+r")
        wait_until(lambda: has_state(listing, "focused") or any(
            has_state(i, "focused") for i in desktop.children(listing)), "the Find Results focused",
            timeout=10, context=lambda: desktop.dump(listing, max_depth=2))
        desk.key("Down", "Return")
        self.wait_line_pane(5)
        with open(account) as f:
            self.assertEqual(f.read(), FILES["Account.java"])
        with open(bank) as f:
            self.assertEqual(f.read(), FILES["Bank.java"])

    def test_the_goto_line_field_is_named(self):
        desk = self.desk
        source = os.path.join(desk.work, "Shapes.java")
        with open(source, "w") as f:
            f.write(SHAPES)
        desk.start_program(source)
        desk.editor()
        desk.key("ctrl+g")
        dialog = desk.dialog(r"^Goto Line")
        field = desk.find("text", root=dialog, what="the Goto Line field")
        self.assertEqual(clean(name(field)), "Enter Line Number")
        desk.focus_dialog(r"^Goto Line")
        desk.key("Escape")
        desk.wait_window_gone(r"^Goto Line")


if __name__ == "__main__":
    desktop.main()
