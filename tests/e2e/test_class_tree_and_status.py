#!/usr/bin/python3
"""The class tree's popup menu as a screen reader reads it, opened with the
mouse, the Menu key and Shift+F10, and the child window's line pane
following the caret."""

import os
import re
import sys
import time

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

interface Drawable {
    void draw();
}
"""

POPUP_ENTRIES = ["Add Method", "New Class", "New Interface"]
VARIABLE_ENTRY = r"^Add (Member )?Variable"


class ClassTreeAndStatus(desktop.DesktopTest):

    def tree(self):
        return self.desk.find(pred=lambda a: role(a) in ("tree", "tree table") and has_state(a, "showing"),
                              what="the class tree of the child window")

    def class_item(self, tree, class_name):
        return desktop.wait_find(tree, pred=lambda a: role(a) in ("tree item", "table cell", "list item")
                                 and clean(name(a)) == class_name and has_state(a, "showing"),
                                 what="the class %s in the class tree" % class_name)

    def read_popup(self, since, how):
        """Reads the popup menu that opened after since, then closes it."""
        popup = self.desk.wait_popup(since, timeout=10, what="the class tree's popup menu opened by " + how)
        entries = self.desk.popup_entries(popup)
        texts = [t for t, _ in entries]
        for expected in POPUP_ENTRIES:
            self.assertIn(expected, texts, "the popup reads %s" % entries)
        self.assertTrue(any(re.match(VARIABLE_ENTRY, t) for t in texts),
                        "no Add (Member) Variable entry; the popup reads %s" % entries)
        # A class is selected: adding to it is possible.
        self.assertTrue(dict(entries)["Add Method"], "Add Method is greyed with a class selected: %s" % entries)
        self.desk.key("Escape")
        wait_until(lambda: not has_state(popup, "showing"), "the popup closing", timeout=5)
        return entries

    def open_shapes(self):
        source = os.path.join(self.desk.work, "Shapes.java")
        with open(source, "w") as f:
            f.write(SHAPES)
        self.desk.start_program(source)
        self.desk.editor()

    def right_click_class(self):
        """Opens and reads the popup on the class Shapes with the mouse;
        the click leaves the tree focused."""
        tree = self.tree()
        item = self.class_item(tree, "Shapes")
        since = time.monotonic()
        self.desk.click_acc(item, button=3)
        self.read_popup(since, "a right-click on a class")
        wait_until(lambda: has_state(tree, "focused") or any(
            has_state(a, "focused") for a in desktop.walk(tree, max_depth=3)), "the class tree focused",
            timeout=5, context=lambda: desktop.dump(tree, max_depth=3))

    def test_popup_of_the_class_tree_and_the_line_pane(self):
        desk = self.desk
        self.open_shapes()
        self.right_click_class()

        # The Menu key with the tree focused.
        since = time.monotonic()
        desk.key("Menu")
        self.read_popup(since, "the Menu key")

        # The line pane follows the caret.
        desk.click_into_text()
        desk.go_to_line(5)
        desk.key("Down", "Down")
        desk.wait_status_line(7)
        desk.key("ctrl+End")
        desk.wait_status_line(SHAPES.count("\n") + 1)
        desk.key("ctrl+Home")
        desk.wait_status_line(1)

        # The main window's key indicators say on and off.
        self.wait_indicator("OVR off")
        desk.key("Insert")
        self.wait_indicator("OVR on")
        desk.key("Insert")
        self.wait_indicator("OVR off")
        self.wait_indicator("CAP off")
        desk.key("Caps_Lock")
        try:
            self.wait_indicator("CAP on")
        finally:
            desk.key("Caps_Lock")
        self.wait_indicator("CAP off")

    def wait_indicator(self, text):
        bar = self.desk.find("status bar", name_is="Status bar", what="the main window's status bar")
        wait_until(lambda: any(clean(name(p)) == text for p in desktop.children(bar)),
                   "the status bar's pane saying %r" % text, timeout=10,
                   context=lambda: desktop.dump(bar))

    def test_shift_f10_opens_the_popup_of_the_class_tree(self):
        self.open_shapes()
        self.right_click_class()
        since = time.monotonic()
        self.desk.key("shift+F10")
        self.read_popup(since, "Shift+F10 with the tree focused")


if __name__ == "__main__":
    desktop.main()
