#pragma once

#include <string>

// The text of a compile in the output window, CR LF between its own lines:
//   -Compiling <target>-              while the compiler runs
//   -Called Compiler <compiler>-      then, replacing it, the whole log:
//   -Target File: <target>-
//   <everything the compiler wrote>
//   -Finished-
// Paths with blanks are shown quoted.
class CompileLog {
public:
    static std::string CompilingLine(const std::string& target);

    CompileLog(const std::string& compiler, const std::string& target);
    void AppendOutput(const std::string& bytes) { text_ += bytes; }
    // The one line that says why the program could not be started.
    void AppendStartFailure(const std::string& program, const std::string& reason);
    void Finish();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
