#pragma once

#include "javatools/build/SaveCheckDiagnostics.h"

#include <cstdint>
#include <string>
#include <vector>

class VxEdit;

// The marks that the last check on save left in one text: the lines it
// found fault with carry VxEdit::kMarkCheckedLine, and the line's mark
// value numbers the line's note here (1 for the first). Mark and value move
// with their line through every edit, so the note stays with its line. The
// error marks of Compile (kMarkErrorLine) are never touched.
class SaveCheckMarks {
public:
    // Replaces the marks of the previous check with these; messages on one
    // line make one note, a line per message.
    void Apply(VxEdit& model, const std::vector<SaveCheckDiagnostic>& diagnostics);
    void Clear(VxEdit& model);
    // The note of a marked line; empty for any other line.
    std::string NoteAt(const VxEdit& model, std::int32_t line) const;
    std::size_t NoteCount() const { return notes_.size(); }

private:
    std::vector<std::string> notes_;
};
