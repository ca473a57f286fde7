#!/usr/bin/python3
"""The Java loop as a person does it: compile a file with an error, jump to
the error from the output window, fix it, compile clean, run the program in
the console and type its input, then stop it at a breakpoint in jdb."""

import os
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import text_of, wait_until  # noqa: E402

# Line 8 lacks its semicolon.
SQUARE = """import java.util.Scanner;

public class Square {
    public static void main(String[] args) {
        Scanner in = new Scanner(System.in);
        System.out.print("Number: ");
        int n = in.nextInt();
        int square = n * n
        System.out.println("Square: " + square);
    }
}
"""
ERROR_LINE = 8
BREAKPOINT_LINE = 6


class JavaLoop(desktop.DesktopTest):

    def test_compile_fix_run_and_debug(self):
        desk = self.desk
        folder = os.path.join(desk.work, "square")
        os.makedirs(folder)
        source = os.path.join(folder, "Square.java")
        with open(source, "w") as f:
            f.write(SQUARE)
        classfile = os.path.join(folder, "Square.class")
        desk.start_program(source)
        desk.editor()

        # F7 with the error in the text.
        desk.key("F7")
        desk.accept_tool_dialog(r"^Compile$")
        output, text = desk.wait_output_text(r"Square\.java:%d: error" % ERROR_LINE, timeout=60)
        self.assertFalse(os.path.exists(classfile))

        # A double-click on the message goes to its line.
        start = text.index("Square.java:%d: error" % ERROR_LINE)
        x, y, w, h = desktop.text_range_extents(output, start, start + 10)
        self.assertGreater(h, 0, "no extents for the message in the output window")
        desk.click(x + w // 2, y + h // 2, repeat=2)
        desk.wait_status_line(ERROR_LINE)

        # The fix: the semicolon at the end of the line.
        desk.click_into_text()
        desk.go_to_line(ERROR_LINE)
        desk.key("End")
        desk.type(";")
        wait_until(lambda: "n * n;" in text_of(desk.editor()), "the semicolon in the text",
                   context=lambda: text_of(desk.editor()))

        # F7 again compiles clean; the file is saved first.
        desk.key("F7")
        desk.accept_tool_dialog(r"^Compile$")
        _, text = desk.wait_output_text(r"Finished", timeout=60)
        wait_until(lambda: os.path.exists(classfile), "Square.class written by the compile", timeout=30,
                   context=lambda: "the output window reads:\n" + desk.wait_output_text(r"")[1])
        self.assertNotIn("error", text.lower(), "the clean compile's output:\n" + text)
        with open(source) as f:
            self.assertIn("n * n;", f.read())

        # Shift+F5 runs it in the console; it reads a number.
        desk.key("shift+F5")
        desk.accept_tool_dialog(r"^Invoke App/Applet Viewer$")
        view, _ = desk.wait_console_text(r"Number:", timeout=30)
        desk.console_type(view, "7")
        desk.wait_console_text(r"Square: 49", timeout=30)

        # F9 sets a breakpoint, F5 starts jdb with it, "run" stops there.
        desk.click_into_text()
        desk.go_to_line(BREAKPOINT_LINE)
        desk.key("F9")
        time.sleep(0.2)
        desk.key("F5")
        desk.accept_tool_dialog(r"^Debug$")
        view, _ = desk.wait_console_text(r"Square:%d" % BREAKPOINT_LINE, timeout=30)
        desk.console_type(view, "run")
        desk.wait_console_text(r"Breakpoint hit: .*Square\.main\(\), line=%d " % BREAKPOINT_LINE, timeout=30)


if __name__ == "__main__":
    desktop.main()
