#!/usr/bin/python3
"""Programs of more than one file compile and run with what the Compile and
Execute dialogs propose: two classes side by side without a package, and
two classes of a package under a source folder."""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402

MAIN = """public class Main {
    public static void main(String[] args) {
        System.out.println(Helper.greeting("folder"));
    }
}
"""
HELPER = """public class Helper {
    static String greeting(String who) {
        return "Hello from the " + who + " helper";
    }
}
"""
PACKAGED_MAIN = """package com.example.app;

public class Main {
    public static void main(String[] args) {
        System.out.println(new Greeter().greet("package"));
    }
}
"""
GREETER = """package com.example.app;

public class Greeter {
    String greet(String who) {
        return "Greetings from the " + who + " greeter";
    }
}
"""


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


class ProgramsOfSeveralFiles(desktop.DesktopTest):

    def compile_and_run(self, source, expected):
        desk = self.desk
        desk.start_program(source)
        desk.editor()
        desk.key("F7")
        desk.accept_tool_dialog(r"^Compile$")
        _, text = desk.wait_output_text(r"Finished", timeout=60)
        self.assertNotIn("error", text.lower(), "the compile's output:\n" + text)
        desk.key("shift+F5")
        desk.accept_tool_dialog(r"^Invoke App/Applet Viewer$")
        desk.wait_console_text(expected, timeout=30)
        desk.stop_program()

    def test_classes_side_by_side_without_a_package(self):
        folder = os.path.join(self.desk.work, "plain")
        write(os.path.join(folder, "Main.java"), MAIN)
        write(os.path.join(folder, "Helper.java"), HELPER)
        self.compile_and_run(os.path.join(folder, "Main.java"), r"Hello from the folder helper")

    def test_classes_of_a_package_under_a_source_folder(self):
        root = os.path.join(self.desk.work, "project", "src")
        package = os.path.join(root, "com", "example", "app")
        write(os.path.join(package, "Main.java"), PACKAGED_MAIN)
        write(os.path.join(package, "Greeter.java"), GREETER)
        self.compile_and_run(os.path.join(package, "Main.java"), r"Greetings from the package greeter")


if __name__ == "__main__":
    desktop.main()
