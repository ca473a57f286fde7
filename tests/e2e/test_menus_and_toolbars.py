#!/usr/bin/python3
"""The menu bar and the toolbars, read as a screen reader reads them: the
menus without a document, with a Java document and with an HTML document,
and every toolbar button in order."""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import children, clean, has_state, is_enabled, name, role, wait_until  # noqa: E402

NO_DOCUMENT_MENUS = {
    "File": ["New", "Open...", "Print Setup...", "Exit"],
    "View": ["Toolbars", "Status Bar", "Compiler Output Window", "Console", "Workbook Mode",
             "Large Toolbar Buttons", "Full Screen"],
    "Tools": ["Tools Settings", "Customize Toolbars"],
    "Window": [],
    "Help": ["Contents", "Custom Online Help", "About Quillet..."],
}

DOCUMENT_MENUS = {
    "File": ["New", "Open...", "Close", "Save", "Save As...", "Export as HTML", "Save All", "Print...",
             "Print Preview", "Print Setup...", "Exit"],
    "Edit": ["Undo", "Redo", "Cut", "Copy", "Paste", "Copy as HTML", "Select All", "Find", "Replace",
             "Goto Line..."],
    "Build": ["Compile", "Execute", "Debug", "Toggle Breakpoint", "Clear All Breakpoints", "Next Error",
              "Previous Error", "Clear All Errors"],
    "View": ["Toolbars", "Status Bar", "Compiler Output Window", "Console", "Workbook Mode",
             "Large Toolbar Buttons", "Full Screen", "Line Numbers", "Refresh Class Display"],
    "Tools": ["Syntax Settings", "Tools Settings", "Customize Toolbars", "Create HTML file for Applet"],
    "Window": ["New Window", "Cascade", "Tile"],
    "Help": ["Contents", "Custom Online Help", "About Quillet..."],
}

TOOLBARS_SUBMENU = ["File", "Edit", "Tools", "Customize Toolbars"]

TOOLBAR_BUTTONS = {
    "File": ["New", "Open", "Save", "Print Preview", "Print"],
    "Edit": ["Cut", "Copy", "Paste", "Undo", "Redo", "Find", "Replace"],
    "Tools": ["Compile", "Execute", "Debug", "New Class", "New Interface", "Add Method",
              "Add Member Variable", "Help Contents", "Custom Online Help", "About"],
}

JAVA = "public class Hello {\n    public static void main(String[] args) {\n        System.out.println(\"hi\");\n    }\n}\n"
HTML = "<html>\n<head><title>Page</title></head>\n<body>\n<p>Text</p>\n</body>\n</html>\n"


def button_name(acc):
    """A toolbar button's name as read, without a key in brackets."""
    text = clean(name(acc))
    if text.endswith(")") and " (" in text:
        text = text[:text.rindex(" (")]
    return text


class MenusAndToolbars(desktop.DesktopTest):

    def read_menus(self):
        """{menu title: [entry texts]} and {(menu, entry): accessible}."""
        layout = {}
        items = {}
        for title, menu in self.desk.menus().items():
            entries = self.desk.menu_entries(menu)
            layout[title] = [text for text, _ in entries]
            for text, acc in entries:
                items[(title, text)] = acc
        return layout, items

    def assert_menus(self, expected, when):
        def complete():
            layout, items = self.read_menus()
            ok = list(layout)[:len(expected)] == list(expected) and all(
                entry in layout.get(title, []) for title, entries in expected.items() for entry in entries)
            return (layout, items) if ok else None

        try:
            return wait_until(complete, "the menus %s" % when, timeout=10)
        except AssertionError:
            pass
        layout, _ = self.read_menus()
        lines = ["menus %s differ from what is expected" % when, "read from the menu bar:"]
        for title, entries in layout.items():
            lines.append("  %s: %s" % (title, entries))
        lines.append("missing:")
        if list(layout)[:len(expected)] != list(expected):
            lines.append("  menu titles in order: expected %s, read %s" % (list(expected), list(layout)))
        for title, entries in expected.items():
            missing = [e for e in entries if e not in layout.get(title, [])]
            if missing:
                lines.append("  %s: %s" % (title, missing))
        lines.append(desktop.dump(self.desk.menu_bar(), max_depth=3))
        self.fail("\n".join(lines))

    def assert_in_order(self, read, expected, what):
        positions = [read.index(e) for e in expected if e in read]
        self.assertEqual(positions, sorted(positions), "%s out of order: read %s" % (what, read))

    def build_states(self, items):
        return {entry: is_enabled(items[("Build", entry)]) for entry in ("Compile", "Execute", "Debug")}

    def test_menus_follow_the_document_and_toolbars_hold_every_button(self):
        folder = os.path.join(self.desk.work, "files")
        os.makedirs(folder)
        java = os.path.join(folder, "Hello.java")
        html = os.path.join(folder, "page.html")
        with open(java, "w") as f:
            f.write(JAVA)
        with open(html, "w") as f:
            f.write(HTML)

        # With a Java document.
        self.desk.start_program(java)
        layout, items = self.assert_menus(DOCUMENT_MENUS, "with a Java document")
        for title, entries in DOCUMENT_MENUS.items():
            self.assert_in_order(layout[title], entries, title)
        wait_until(lambda: all(self.build_states(self.read_menus()[1]).values()),
                   "Compile, Execute and Debug enabled for a Java document", timeout=10,
                   context=lambda: "Build entries enabled: %r" % self.build_states(self.read_menus()[1]))
        self.check_toolbars(java_document=True)
        self.desk.quit_program()

        # With an HTML document the Build entries stay, greyed.
        self.desk.start_program(html)
        layout, items = self.assert_menus(DOCUMENT_MENUS, "with an HTML document")
        wait_until(lambda: not any(self.build_states(self.read_menus()[1]).values()),
                   "Compile, Execute and Debug present and greyed for an HTML document", timeout=10,
                   context=lambda: "Build entries enabled: %r" % self.build_states(self.read_menus()[1]))
        self.desk.quit_program()

        # Without a document (the last session is not reopened); the two
        # files are recent files now.
        self.desk.write_settings({"Session": {"ReopenAtStart": "0"}})
        self.desk.start_program()
        layout, items = self.assert_menus(NO_DOCUMENT_MENUS, "without a document")
        for title, entries in NO_DOCUMENT_MENUS.items():
            self.assert_in_order(layout[title], entries, title)
        self.assertNotIn("Build", layout, "a Build menu without a document")
        file_menu = layout["File"]
        recent = file_menu[file_menu.index("Print Setup...") + 1:file_menu.index("Exit")]
        self.assertEqual(len(recent), 2, "recent files in File: %s" % file_menu)
        self.assertRegex(recent[0], r"^1 .*page\.html$")
        self.assertRegex(recent[1], r"^2 .*Hello\.java$")
        toolbars = self.desk.submenu_entries(items[("View", "Toolbars")])
        self.assertEqual([t for t, _ in toolbars], TOOLBARS_SUBMENU,
                         "View > Toolbars:\n" + desktop.dump(items[("View", "Toolbars")], max_depth=3))
        # The three toolbars are shown and so ticked.
        for text, acc in toolbars[:3]:
            self.assertTrue(has_state(acc, "checked"), "View > Toolbars > %s is not ticked" % text)
        self.check_toolbars()

    def check_toolbars(self, java_document=False):
        bars = {}
        for bar in desktop.find_all(self.desk.main_window, role_name="tool bar"):
            if has_state(bar, "showing"):
                bars[clean(name(bar))] = bar
        self.assertEqual(sorted(bars), sorted(TOOLBAR_BUTTONS),
                         "toolbars shown:\n" + desktop.dump(self.desk.main_window, max_depth=3))
        for title, expected in TOOLBAR_BUTTONS.items():
            buttons = [c for c in children(bars[title])
                       if role(c) in ("push button", "toggle button", "button") and has_state(c, "showing")]
            read = [button_name(b) for b in buttons]
            self.assertEqual(read, expected, "the %s toolbar's buttons in order:\n%s"
                             % (title, desktop.dump(bars[title], max_depth=2)))
            if java_document and title == "Tools":
                by_name = dict(zip(read, buttons))
                for command in ("Compile", "Execute", "Debug"):
                    wait_until(lambda: is_enabled(by_name[command]),
                               "the %s button enabled for a Java document" % command, timeout=10)


if __name__ == "__main__":
    desktop.main()
