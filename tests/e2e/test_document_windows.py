#!/usr/bin/python3
"""Where the keys go when documents come and go, as a person works: a file
opened second (Ctrl+O, the recent files, a second start) takes what is typed
next; a program run with Shift+F5 gets the number typed for it while the
source stays as it was; closing the active tab of three keeps the others
maximised and goes back to the tab used before; four documents are walked
with Ctrl+Tab while Ctrl is held and chosen from the Window menu."""

import os
import subprocess
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import clean, extents, has_state, name, text_of, wait_until  # noqa: E402

SQUARE = """import java.util.Scanner;

public class Square {
    public static void main(String[] args) {
        Scanner in = new Scanner(System.in);
        System.out.print("Number: ");
        int n = in.nextInt();
        System.out.println("Square: " + n * n);
    }
}
"""


def class_text(class_name):
    return "public class %s {\n}\n" % class_name


class DocumentWindows(desktop.DesktopTest):

    def write_classes(self, folder, *class_names):
        os.makedirs(folder, exist_ok=True)
        paths = []
        for class_name in class_names:
            path = os.path.join(folder, class_name + ".java")
            with open(path, "w") as f:
                f.write(class_text(class_name))
            paths.append(path)
        return paths

    def title(self):
        return clean(name(self.desk.main_window))

    def wait_title(self, file_name):
        wait_until(lambda: self.title() == "Quillet - " + file_name, "the title naming " + file_name,
                   context=self.title)

    def editor(self, file_name):
        """The edit view of the file's window; the views of the windows
        behind the active one read as showing too."""
        desk = self.desk
        return wait_until(lambda: next((e for e in desk.editors() if name(e) == file_name), None),
                          "the edit view of " + file_name,
                          context=lambda: desktop.dump(desk.main_window, max_depth=8))

    def type_and_save(self, text, path, what):
        """Types at the caret and saves with Ctrl+S; the file on disk must
        start with the text."""
        desk = self.desk
        desk.type(text)
        desk.key("ctrl+s")
        wait_until(lambda: open(path).read().startswith(text), "%s saved with %r" % (what, text),
                   context=lambda: "%s reads %r" % (path, open(path).read()))

    def test_a_file_opened_second_takes_the_keys(self):
        desk = self.desk
        desk.write_settings({"Java%20Files": {"Associate": "1"}})
        first, second, third = self.write_classes(os.path.join(desk.work, "open"), "First", "Second", "Third")
        desk.start_program(first)
        desk.editor()

        # Ctrl+O and the file's path in the Open dialog.
        desk.key("ctrl+o")
        desk.focus_dialog(r"^Open$")
        desk.type(second)
        desk.key("Return")
        desk.wait_window_gone(r"^Open$")
        self.wait_title("Second.java")
        self.type_and_save("// 2 ", second, "Second.java")

        # The recent files: First.java, open already, is the second entry.
        desk.key("alt+f")
        desk.key("2")
        self.wait_title("First.java")
        self.type_and_save("// 1 ", first, "First.java")

        # A second start hands its file over to this one.
        run = subprocess.run([os.path.join(desktop.program_dir(), "quillet"), third],
                             env=dict(desk._base_env(), QT_QPA_PLATFORM="xcb"), capture_output=True,
                             text=True, timeout=60)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.wait_title("Third.java")
        self.type_and_save("// 3 ", third, "Third.java")

        self.assertEqual(open(second).read(), "// 2 " + class_text("Second"))
        self.assertEqual(open(first).read(), "// 1 " + class_text("First"))

    def test_a_program_run_gets_what_is_typed_for_it(self):
        desk = self.desk
        folder = os.path.join(desk.work, "square")
        os.makedirs(folder)
        source = os.path.join(folder, "Square.java")
        with open(source, "w") as f:
            f.write(SQUARE)
        desk.start_program(source)
        desk.editor()
        desk.key("F7")
        desk.accept_tool_dialog(r"^Compile$")
        desk.wait_output_text(r"Finished", timeout=60)
        wait_until(lambda: os.path.exists(os.path.join(folder, "Square.class")), "Square.class", timeout=30)

        # Shift+F5, and the number typed straight away.
        desk.key("shift+F5")
        desk.accept_tool_dialog(r"^Invoke App/Applet Viewer$")
        view, _ = desk.wait_console_text(r"Number:", timeout=30)
        wait_until(lambda: has_state(view, "focused"), "the console focused once its program runs",
                   timeout=5, context=lambda: desktop.dump(desk.main_window, max_depth=8))
        desk.type("7")
        desk.key("Return")
        desk.wait_console_text(r"Square: 49", timeout=30)

        # Escape goes back to the text, which the number never reached.
        desk.key("Escape")
        editor = self.editor("Square.java")
        wait_until(lambda: has_state(editor, "focused"), "the edit view focused after Escape",
                   context=lambda: desktop.dump(desk.main_window, max_depth=8))
        self.assertEqual(text_of(editor).replace("\r\n", "\n"), SQUARE)
        desk.key("ctrl+s")
        with open(source) as f:
            self.assertEqual(f.read(), SQUARE)

    def test_closing_the_active_tab_goes_back_to_the_tab_used_before(self):
        desk = self.desk
        a, b, c = self.write_classes(os.path.join(desk.work, "close"), "Alpha", "Beta", "Gamma")
        desk.start_program(a, b, c)
        self.wait_title("Gamma.java")
        maximised = extents(self.editor("Gamma.java"))

        # Ctrl+PageDown from the last tab wraps to the first.
        desk.key("ctrl+Next")
        self.wait_title("Alpha.java")
        desk.key("alt+f")
        desk.key("c")
        # Gamma was used before Alpha; Beta is Alpha's neighbour.
        self.wait_title("Gamma.java")
        gamma = self.editor("Gamma.java")
        wait_until(lambda: extents(gamma) == maximised, "Gamma's window maximised as before",
                   context=lambda: "%r, maximised %r" % (extents(gamma), maximised))
        desk.key("ctrl+Tab")
        self.wait_title("Beta.java")
        beta = self.editor("Beta.java")
        wait_until(lambda: extents(beta) == maximised, "Beta's window maximised as before",
                   context=lambda: "%r, maximised %r" % (extents(beta), maximised))
        self.type_and_save("// b ", b, "Beta.java")

    def window_menu(self):
        """Opens the Window menu with Alt+W; its numbered entries as
        [(text, checked)]."""
        desk = self.desk
        menu = desk.menus()["Window"]
        desk.key("alt+w")
        entries = desk.menu_entries(menu)
        wait_until(lambda: any(has_state(acc, "showing") for _, acc in entries), "the Window menu open",
                   timeout=10)
        return [(text, has_state(acc, "checked")) for text, acc in desk.menu_entries(menu)
                if text[:1].isdigit()]

    def test_four_documents_walked_with_ctrl_tab_and_chosen_from_the_window_menu(self):
        desk = self.desk
        files = self.write_classes(os.path.join(desk.work, "walk"), "North", "East", "South", "West")
        desk.start_program(*files)
        self.wait_title("West.java")

        # Ctrl held down over two Tabs: West, South, East; East is kept.
        desk.xdo("keydown", "ctrl")
        desk.key("Tab")
        self.wait_title("South.java")
        desk.key("Tab")
        self.wait_title("East.java")
        desk.xdo("keyup", "ctrl")
        # One Ctrl+Tab goes back to the window used before: West.
        desk.key("ctrl+Tab")
        self.wait_title("West.java")
        # Three Tabs from West: East, South, North.
        desk.xdo("keydown", "ctrl")
        for _ in range(3):
            desk.key("Tab")
        desk.xdo("keyup", "ctrl")
        self.wait_title("North.java")
        # Ctrl+Shift+Tab starts at the window used least recently.
        desk.key("ctrl+shift+Tab")
        self.wait_title("South.java")

        self.assertEqual(self.window_menu(), [("1 North.java", False), ("2 East.java", False),
                                              ("3 South.java", True), ("4 West.java", False)])
        desk.key("2")
        self.wait_title("East.java")
        self.type_and_save("// e ", files[1], "East.java")
        # Ctrl+F6 is the next window in tab order.
        desk.key("ctrl+F6")
        self.wait_title("South.java")


if __name__ == "__main__":
    desktop.main()
