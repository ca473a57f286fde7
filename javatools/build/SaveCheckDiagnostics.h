#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a compiler said about one line of the checked file: javac's
// "File.java:12: error: ';' expected" gives line 12 and the text
// "error: ';' expected". The quoted source line and the caret line under
// it, notes without a line and messages about other files are left out.
struct SaveCheckDiagnostic {
    int line = 0;  // 1-based
    std::string text;
};

// The messages of the output that name the file (as the compiler was given
// it), in the order the compiler wrote them.
std::vector<SaveCheckDiagnostic> DiagnosticsForFile(std::string_view output, const std::string& file);
