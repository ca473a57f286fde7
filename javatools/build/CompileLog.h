#pragma once

#include <string>

// The text of a compile in the output window, CR LF between its own lines:
//   -Compiling <target>-              while the compiler runs
//   -Called Compiler <compiler>-      then, replacing it, the whole log:
//   -Target File: <target>-
//   <what the compiler wrote: its last lines when it wrote many>
//   -Finished-                        or "Build stopped." when stopped
// Paths with blanks are shown quoted.
class CompileLog {
public:
    static constexpr const char* kStopped = "Build stopped.";

    static std::string CompilingLine(const std::string& target);

    CompileLog(const std::string& compiler, const std::string& target);
    void AppendOutput(const std::string& bytes) { text_ += bytes; }
    // The one line that says why the program could not be started.
    void AppendStartFailure(const std::string& program, const std::string& reason);
    void Finish();
    // The end of a compile that the user stopped.
    void FinishStopped();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
