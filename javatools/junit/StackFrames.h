#pragma once

#include <string>
#include <string_view>
#include <vector>

// One "at ..." line of a Java stack trace.
struct StackFrame {
    // The class and method as the trace names them, without a module or
    // class loader prefix: "demo.CalcTest$Inner.deep".
    std::string method;
    // "CalcTest.java", or empty for "(Native Method)" and "(Unknown Source)".
    std::string file;
    int line = 0;
    // A line of the program's own sources: a file and line are named and
    // the class is not the JDK's or the test framework's.
    bool user = false;
};

// The frames of every "at" line of the trace, in order ("Caused by:"
// traces included; "... N more" lines carry none).
std::vector<StackFrame> ParseStackFrames(std::string_view trace);
