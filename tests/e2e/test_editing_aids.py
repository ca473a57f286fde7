#!/usr/bin/python3
"""The Java editing aids as a developer meets them in a file indented with 4
spaces: a method with nested blocks typed without Tab comes out indented by
the braces, Ctrl+] leaves a closing brace for its partner, "ArrayL" and
Ctrl+Space puts in ArrayList with its import, and a statement saved without
its ";" shows javac's message in the status bar while the caret is on it.
The saved file is read back byte for byte."""

import glob
import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import children, clean, name, text_of, wait_until  # noqa: E402

JDK = "/usr/lib/jvm/java-17-openjdk-amd64"

SOURCE = """package books;

public class Ledger {
    private int total;

    int get() {
        return total;
    }
}
"""
FIELD_LINE = 4   # "    private int total;"
GET_END_LINE = 8  # "    }" that closes get()

# Typed line by line after get(), never with Tab: each Enter, and each "}"
# typed first on its line, sets the indentation.
METHOD_KEYS = ["void add(int n) {", "if (n > 0) {", "for (int i = 0; i < n; i++) {", "total += i;",
               "}", "}", "}"]
METHOD = """    void add(int n) {
        if (n > 0) {
            for (int i = 0; i < n; i++) {
                total += i;
            }
        }
    }
"""
IF_LINE = GET_END_LINE + 2        # "        if (n > 0) {"
IF_END_LINE = GET_END_LINE + 6    # "        }" that closes it

MISTAKE = "total -= 1"
MESSAGE = "error: ';' expected"

EXPECTED = """package books;

import java.util.ArrayList;

public class Ledger {
    private int total;
    private ArrayList entries;

    int get() {
        return total;
    }
    void add(int n) {
        if (n > 0) {
            for (int i = 0; i < n; i++) {
                total += i;
                total -= 1;
            }
        }
    }
}
"""


class EditingAids(desktop.DesktopTest):

    def text(self):
        return text_of(self.desk.editor())

    def saved(self):
        with open(self.source, "rb") as f:
            return f.read().decode("utf-8")

    def test_type_match_complete_and_check_a_method(self):
        if not os.access(os.path.join(JDK, "bin", "javac"), os.X_OK):
            raise desktop.unittest.SkipTest("no JDK at " + JDK)
        desk = self.desk
        desk.write_settings({"Tools": {"Java%20Compiler": JDK + "/bin/javac"}})
        folder = os.path.join(desk.work, "books")
        os.makedirs(folder)
        self.source = os.path.join(folder, "Ledger.java")
        with open(self.source, "w") as f:
            f.write(SOURCE)
        desk.start_program(self.source)
        desk.editor()
        # The JDK's classes are read in the background and cached.
        wait_until(lambda: glob.glob(os.path.join(desk.cache, "Quillet", "jdk-classes-*.txt")),
                   "the JDK class list cached", timeout=120)

        # 1. A method with nested blocks, typed after get() without Tab.
        desk.click_into_text()
        desk.go_to_line(GET_END_LINE)
        desk.key("End")
        for line in METHOD_KEYS:
            desk.key("Return")
            desk.type(line)
        typed = SOURCE.replace("    }\n}\n", "    }\n" + METHOD + "}\n")
        wait_until(lambda: self.text() == typed, "the method indented by its braces",
                   context=lambda: "the text reads:\n" + self.text())

        # 2. Ctrl+] after the "}" that closes the if goes to the if's "{",
        # not to the nearer one of the for.
        desk.go_to_line(IF_END_LINE)
        desk.key("End")
        desk.key("ctrl+bracketright")
        desk.wait_status_line(IF_LINE)

        # 3. A field of a JDK class, completed with its import.
        desk.go_to_line(FIELD_LINE)
        desk.key("End", "Return")
        desk.type("private ArrayL")
        desk.key("ctrl+space")
        # ArrayList is the one candidate and goes in at once; should the list
        # open after all, its first row must be it and Enter takes it.
        wait_until(lambda: "private ArrayList" in self.text() or self.desk.completion_list(),
                   "ArrayList put in or the list shown", context=lambda: self.text())
        listed = self.desk.completion_list()
        if listed:
            rows = [clean(name(item)) for item in children(listed)]
            self.assertEqual(rows[:1], ["ArrayList \u2014 java.util"], rows)
            desk.key("Return")
        wait_until(lambda: "import java.util.ArrayList;" in self.text(), "the import in the text",
                   context=lambda: self.text())
        desk.type(" entries;")

        # 4. A statement without its ";", saved: javac's message shows in the
        # status bar while the caret is on its line; the fix, saved, clears it.
        lines = self.text().split("\n")
        loop_body = next(i for i, line in enumerate(lines) if line.strip() == "total += i;") + 1
        desk.go_to_line(loop_body)
        desk.key("End", "Return")
        desk.type(MISTAKE)
        desk.key("ctrl+s")
        wait_until(lambda: MISTAKE + "\n" in self.saved(), "the mistake saved",
                   context=lambda: "the file reads:\n" + self.saved())
        self.desk.wait_message(MESSAGE, "javac's message in the message pane")
        desk.wait_status_line(loop_body + 1)
        desk.type(";")
        desk.key("ctrl+s")
        wait_until(lambda: MISTAKE + ";\n" in self.saved(), "the fix saved",
                   context=lambda: "the file reads:\n" + self.saved())
        self.desk.wait_message("Ready", "the message gone after the fix was saved")

        # 5. The saved bytes: spaces only, the import once, the method as typed.
        saved = self.saved()
        self.assertNotIn("\t", saved)
        self.assertEqual(saved.count("import java.util.ArrayList;"), 1, saved)
        self.assertEqual(saved, EXPECTED)


if __name__ == "__main__":
    desktop.main()
