#pragma once

#include "javatools/build/SaveCheckMarks.h"
#include "javatools/build/SaveCheckProcess.h"

#include <cstdint>
#include <string>

class VxEdit;

namespace quillet::platform {
class Profile;
}

// The check of one Java text after each save: the configured compiler runs
// in the background on the saved file, with the source and class path that
// Compile proposes, its classes written to a private temporary folder that
// goes when the run ends. Its messages about the file become the text's
// check marks (SaveCheckMarks). A newer start cancels the run before it.
// The caller watches OutputFd() and calls OnOutputReady when it is
// readable; nothing here waits for the compiler.
class SaveCheck {
public:
    explicit SaveCheck(VxEdit& model);
    ~SaveCheck();
    SaveCheck(const SaveCheck&) = delete;
    SaveCheck& operator=(const SaveCheck&) = delete;

    // The compiler to check with: the configured one while "Check Java
    // files when saved" is on; empty when saved files are not checked.
    static std::string ConfiguredCompiler(quillet::platform::Profile& settings);

    // Starts the check of the file as saved at path; false with what to
    // tell the user when the compiler cannot be started.
    bool Start(const std::string& compiler, const std::string& path, std::string* problem);
    bool IsRunning() const { return process_.IsRunning(); }
    int OutputFd() const { return process_.OutputFd(); }
    pid_t ProcessId() const { return process_.ProcessId(); }
    // Reads what the compiler wrote; true once the run has ended. Then the
    // marks are those of this run, or, when the compiler failed, unchanged
    // and *problem says why.
    bool OnOutputReady(std::string* problem);
    void Cancel();
    // Takes away the marks of the last check.
    void ClearMarks();

    std::string NoteAt(std::int32_t line) const { return marks_.NoteAt(model_, line); }
    const SaveCheckMarks& Marks() const { return marks_; }

private:
    void RemoveClassFolder();
    std::string Finish();

    VxEdit& model_;
    SaveCheckProcess process_;
    SaveCheckMarks marks_;
    std::string compiler_;
    std::string file_;
    std::string classFolder_;
};
