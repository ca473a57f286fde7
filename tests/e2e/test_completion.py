#!/usr/bin/python3
"""Complete Word as a Java developer uses it: with the JDK set in the Tools
settings, "Arr" and Ctrl+Space lists ArrayList among others (read over the
accessibility bus), Escape closes the list; "HashM" and Ctrl+Space puts in
HashMap with its import, sorted among the file's imports, which Ctrl+S
saves."""

import glob
import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import children, clean, dump, name, text_of, wait_until  # noqa: E402

JDK = "/usr/lib/jvm/java-17-openjdk-amd64"

SOURCE = """package demo;

import java.io.File;
import java.util.List;

public class Table {
    void fill() {
        
    }
}
"""
TYPING_LINE = 8


class Completion(desktop.DesktopTest):

    def test_class_completion_brings_its_import(self):
        if not os.access(os.path.join(JDK, "bin", "jimage"), os.X_OK):
            raise desktop.unittest.SkipTest("no JDK at " + JDK)
        desk = self.desk
        desk.write_settings({"Tools": {"Java%20Compiler": JDK + "/bin/javac"}})
        folder = os.path.join(desk.work, "demo")
        os.makedirs(folder)
        source = os.path.join(folder, "Table.java")
        with open(source, "w") as f:
            f.write(SOURCE)
        desk.start_program(source)
        desk.editor()
        # The JDK's classes are read in the background and cached.
        wait_until(lambda: glob.glob(os.path.join(desk.cache, "Quillet", "jdk-classes-*.txt")),
                   "the JDK class list cached", timeout=120)

        desk.click_into_text()
        desk.go_to_line(TYPING_LINE)
        desk.key("End")
        desk.type("Arr")
        desk.key("ctrl+space")
        listed = wait_until(lambda: self.desk.completion_list(), "the Completions list",
                            context=lambda: dump(desk.app, max_depth=3))
        rows = [clean(name(item)) for item in children(listed)]
        self.assertIn("ArrayList \u2014 java.util", rows)
        self.assertIn("ArrayDeque \u2014 java.util", rows)
        self.assertGreater(len(rows), 2, rows)
        desk.key("Escape")
        wait_until(lambda: self.desk.completion_list() is None, "the list closed by Escape", timeout=10)

        desk.key("BackSpace", "BackSpace", "BackSpace")
        desk.type("HashM")
        desk.key("ctrl+space")
        # HashMap is the one candidate and goes in at once; should the list
        # open after all, Enter takes its first row.
        wait_until(lambda: "HashMap" in text_of(desk.editor()) or self.desk.completion_list(),
                   "HashMap put in or the list shown", context=lambda: text_of(desk.editor()))
        if self.desk.completion_list():
            desk.key("Return")
        wait_until(lambda: "import java.util.HashMap;" in text_of(desk.editor()),
                   "the import in the text", context=lambda: text_of(desk.editor()))
        desk.key("ctrl+s")

        def saved():
            with open(source) as f:
                return f.read()
        expected = SOURCE.replace("import java.util.List;", "import java.util.HashMap;\nimport java.util.List;")
        expected = expected.replace("        \n", "        HashMap\n")
        wait_until(lambda: saved() == expected, "the file saved with HashMap and its import",
                   timeout=20, context=lambda: "the file reads:\n" + saved())


if __name__ == "__main__":
    desktop.main()
