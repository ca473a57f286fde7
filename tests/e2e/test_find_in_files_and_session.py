#!/usr/bin/python3
"""Working across files as a person does: Ctrl+Shift+F for a word in a
folder of three files, the results read back and one of them double-clicked
to its line; then two files opened at once, the caret moved, Quillet closed
and started again: both files are open with the caret where it was."""

import os
import re
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import clean, has_state, name, role, wait_until  # noqa: E402

FILES = {
    "Account.java": "public class Account {\n    private int balance;\n\n    int balance() {\n        return balance;\n    }\n}\n",
    "Bank.java": "public class Bank {\n    // no money here\n}\n",
    "Teller.java": "public class Teller {\n    void pay(Account a) {\n\n\n        int left = a.balance();\n    }\n}\n",
}
SUMMARY = r"^(\d+) matches in (\d+) files; (\d+) files searched"


class FindInFilesAndSession(desktop.DesktopTest):

    def write_files(self, folder):
        os.makedirs(folder, exist_ok=True)
        for file_name, text in FILES.items():
            with open(os.path.join(folder, file_name), "w") as f:
                f.write(text)

    def results(self):
        """The lines of the Find Results list once the search has ended."""
        desk = self.desk
        listing = desk.find(pred=lambda a: role(a) in ("list", "list box") and name(a) == "Find Results"
                            and has_state(a, "showing"), what="the Find Results list")

        def lines():
            texts = [clean(name(item)) for item in desktop.children(listing)]
            return texts if texts and re.match(SUMMARY, texts[-1]) else None

        return listing, wait_until(lines, "the Find Results ending with its counts", timeout=30,
                                   context=lambda: desktop.dump(listing, max_depth=2))

    def test_find_a_word_in_a_folder_and_go_to_a_result(self):
        desk = self.desk
        folder = os.path.join(desk.work, "bank")
        self.write_files(folder)
        desk.start_program(os.path.join(folder, "Bank.java"))
        desk.editor()

        desk.key("ctrl+shift+f")
        desk.focus_dialog(r"^Find in Files$")
        desk.type("balance")
        desk.key("Return")
        desk.wait_window_gone(r"^Find in Files$")

        listing, lines = self.results()
        account = os.path.join(folder, "Account.java")
        teller = os.path.join(folder, "Teller.java")
        self.assertEqual(lines[:-1], [
            "%s:2:     private int balance;" % account,
            "%s:4:     int balance() {" % account,
            "%s:5:         return balance;" % account,
            "%s:5:         int left = a.balance();" % teller,
        ])
        self.assertEqual(re.match(SUMMARY, lines[-1]).groups(), ("4", "2", "3"))

        # A double-click on Teller's line opens it at that line.
        item = next(i for i in desktop.children(listing) if clean(name(i)).startswith(teller + ":5:"))
        desk.click_acc(item, repeat=2)
        wait_until(lambda: "Teller.java" in name(desk.main_window), "Teller.java in the main window's title",
                   context=lambda: name(desk.main_window))
        self.wait_line_pane(5)

    def wait_line_pane(self, line):
        """Waits for a child window's line pane to say the line; the panes
        of windows behind the active one read as showing too."""
        wait_until(lambda: any(clean(pane[1]) == "Line: %d" % line for pane in self.desk.status_panes()),
                   "a line pane saying Line: %d" % line,
                   context=lambda: "the status panes read: %r" % (self.desk.status_panes(),))

    def test_the_files_of_the_last_session_come_back(self):
        desk = self.desk
        folder = os.path.join(desk.work, "session")
        self.write_files(folder)
        desk.start_program(os.path.join(folder, "Account.java"), os.path.join(folder, "Teller.java"))
        desk.editor()
        # The file opened last is in front.
        wait_until(lambda: "Teller.java" in name(desk.main_window), "Teller.java in front",
                   context=lambda: name(desk.main_window))
        desk.click_into_text()
        desk.key("ctrl+g")
        desk.focus_dialog(r"^Goto Line")
        desk.type("5")
        desk.key("Return")
        desk.wait_window_gone(r"^Goto Line")
        self.wait_line_pane(5)
        desk.quit_program()

        desk.start_program()
        desk.editor()
        wait_until(lambda: "Teller.java" in name(desk.main_window), "Teller.java in front again",
                   context=lambda: name(desk.main_window))
        self.wait_line_pane(5)
        # Account.java is open behind it: its edit view is named after it.
        names = [clean(name(a)) for a in desktop.walk(desk.main_window, prune=desktop._menus)]
        self.assertIn("Account.java", names, "the main window holds:\n" + desktop.dump(desk.main_window, 8))


if __name__ == "__main__":
    desktop.main()
