#!/usr/bin/python3
"""Build All compiles a program whose classes are loaded by name: the main
file of a three-package project is opened, Build > Build All is chosen with
the keys, and Execute (Shift+F5) then runs it, so the console shows what
the plug-ins, which nothing names in the source, say."""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import wait_until  # noqa: E402

MAIN = """package app;

public class Main {
    public static void main(String[] args) throws Exception {
        for (String name : new String[] {"plugins.one.Hello", "plugins.two.World"}) {
            Object plugin = Class.forName(name).getDeclaredConstructor().newInstance();
            System.out.println(util.Text.framed(plugin.toString()));
        }
        System.out.println("all plugins loaded");
    }
}
"""
TEXT = """package util;

public class Text {
    public static String framed(String s) {
        return "[" + s + "]";
    }
}
"""
PLUGIN = """package plugins.%s;

public class %s {
    public String toString() {
        return "%s plugin";
    }
}
"""


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


class BuildAll(desktop.DesktopTest):

    def test_build_all_then_execute_runs_classes_loaded_by_name(self):
        desk = self.desk
        root = os.path.join(desk.work, "plug in project", "src")
        main = os.path.join(root, "app", "Main.java")
        write(main, MAIN)
        write(os.path.join(root, "util", "Text.java"), TEXT)
        write(os.path.join(root, "plugins", "one", "Hello.java"), PLUGIN % ("one", "Hello", "hello"))
        write(os.path.join(root, "plugins", "two", "World.java"), PLUGIN % ("two", "World", "world"))
        desk.start_program(main)
        desk.editor()

        # Build > Build All with the keys. A new user's first Build command
        # asks for the Java tools; after that Build All asks nothing.
        desk.key("alt+b")
        desk.key("b")
        wait_until(lambda: desk.tool_question() is not None, "the question about the Java tools")
        desk.answer_tool_question()
        _, log = desk.wait_output_text(r"-Finished-", timeout=90)
        self.assertNotIn("error", log.lower(), "the build's output:\n" + log)
        for compiled in ("app/Main.class", "util/Text.class", "plugins/one/Hello.class",
                         "plugins/two/World.class"):
            self.assertTrue(os.path.exists(os.path.join(root, compiled)), compiled + " written")

        desk.key("shift+F5")
        desk.accept_tool_dialog(r"^Invoke App/Applet Viewer$")
        _, console = desk.wait_console_text(r"all plugins loaded", timeout=30)
        self.assertIn("[hello plugin]", console)
        self.assertIn("[world plugin]", console)
        self.assertNotIn("ClassNotFoundException", console)
        desk.stop_program()


if __name__ == "__main__":
    desktop.main()
