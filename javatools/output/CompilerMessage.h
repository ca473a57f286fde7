#pragma once

#include <string>
#include <string_view>

// A compiler message line that names a Java file and a line: "Foo.java:12:
// ..." (tried first) or "Foo.java(12,5): ...". The ".java" must come after
// the line's first character; the number is read as C's atoi reads it.
struct CompilerMessage {
    std::string file;  // the text before ".java" and ".java" itself, blanks trimmed
    int line = 0;      // 1-based, greater than 0
};

bool ParseCompilerMessage(std::string_view text, CompilerMessage& message);

// javac's caret line under the quoted source line ("        ^"): the
// column of the caret, or -1 when the line is not one.
int CaretLineColumn(std::string_view text);
