#pragma once

#include "javatools/debug/DebugValue.h"
#include "javatools/debug/JdwpProtocol.h"

#include <cstdint>
#include <string>
#include <vector>

// One frame of a stopped thread, as the Call Stack shows it.
struct DebugFrame {
    std::uint64_t thread = 0;
    std::uint64_t frameId = 0;
    jdwp::Location location;
    std::string className;   // "p.Square$Inner"
    std::string methodName;  // "area"
    std::string sourceFile;  // "Square.java", empty when unknown
    int line = -1;           // -1 when the method has no line information
};

// Why and where the program stopped: the thread and its frames, the
// innermost first.
struct DebugStop {
    enum class Reason { Breakpoint, Step, Exception, Suspended };
    Reason reason = Reason::Breakpoint;
    int breakpointId = 0;  // the breakpoint hit, when the reason is one
    std::uint64_t thread = 0;
    std::string threadName;
    std::vector<DebugFrame> frames;
    DebugValue exception;          // the thrown object, for an exception
    std::string exceptionClass;    // "java.lang.IllegalStateException"
};

// A local variable, a field or an array element with its value. A string's
// text is read along with it (stringText, as UTF-8); an array's length too.
struct DebugVariable {
    std::string name;
    std::string typeName;  // "int", "java.lang.String", "int[][]"
    DebugValue value;
    bool hasText = false;
    std::string stringText;
    std::int64_t arrayLength = -1;
};

// A breakpoint as the margin shows it: the line asked for and the line it
// was moved to (the next line with code), once a class of its file is loaded.
struct DebugBreakpoint {
    int id = 0;
    std::string file;       // as given
    std::string className;  // top-level class of the file, "p.Square"
    int requestedLine = 0;
    int line = 0;           // 0 until placed
};

// A thread as the Threads list shows it.
struct DebugThreadState {
    // JDWP thread status: 0 zombie, 1 running, 2 sleeping, 3 waiting for a
    // monitor, 4 waiting.
    int status = 0;
    bool suspended = false;
    int frameCount = 0;  // 0 unless suspended
};
