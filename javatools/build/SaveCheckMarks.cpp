#include "javatools/build/SaveCheckMarks.h"

#include "engine/VxEdit.h"

void SaveCheckMarks::Apply(VxEdit& model, const std::vector<SaveCheckDiagnostic>& diagnostics)
{
    Clear(model);
    for (const SaveCheckDiagnostic& diagnostic : diagnostics) {
        const std::int32_t line = diagnostic.line - 1;
        if (line < 0 || line > model.LastLine())
            continue;
        if (model.TestMark(line, VxEdit::kMarkCheckedLine)) {
            notes_[static_cast<std::size_t>(model.GetLineValue(line) - 1)] += "\n" + diagnostic.text;
            continue;
        }
        notes_.push_back(diagnostic.text);
        model.SetLineValue(line, static_cast<std::int32_t>(notes_.size()));
        model.SetMark(line, VxEdit::kMarkCheckedLine, true);
    }
}

void SaveCheckMarks::Clear(VxEdit& model)
{
    notes_.clear();
    while (model.CountMarkedLines(VxEdit::kMarkCheckedLine) > 0) {
        const std::int32_t line = model.FindMarkedLine(0, VxEdit::kMarkCheckedLine, true);
        model.SetLineValue(line, 0);
        model.SetMark(line, VxEdit::kMarkCheckedLine, false);
    }
}

std::string SaveCheckMarks::NoteAt(const VxEdit& model, std::int32_t line) const
{
    if (!model.TestMark(line, VxEdit::kMarkCheckedLine))
        return {};
    const std::int32_t number = model.GetLineValue(line);
    if (number < 1 || static_cast<std::size_t>(number) > notes_.size())
        return {};
    return notes_[static_cast<std::size_t>(number - 1)];
}
