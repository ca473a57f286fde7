// Complete Word in VxEditController: the word before the caret, and the
// chosen candidate put in its place together with an import elsewhere in
// the text, as one undo step.
#include "controller/VxEditController.h"

#include "engine/VxEdit.h"
#include "engine/VxEditCompositeGuard.h"
#include "engine/VxEditWordCompleter.h"

#include <algorithm>

std::string VxEditController::WordBeforeCaret(VxEditLineCol& start)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    start = caret_;
    if (model_.LineText(caret_.line, text, length) != 1 || caret_.column > length)
        return {};
    const std::string_view line(text, static_cast<std::size_t>(length));
    start.column = static_cast<std::int32_t>(
        VxEditWordCompleter::WordStartBefore(line, static_cast<std::size_t>(caret_.column)));
    return std::string(line.substr(static_cast<std::size_t>(start.column),
                                   static_cast<std::size_t>(caret_.column - start.column)));
}

void VxEditController::CompleteWord(const VxEditLineCol& start, std::string_view word,
                                    const CompletionImport& placeImport)
{
    if (!CanEdit() || start.line != caret_.line || start.column > caret_.column)
        return;
    StopMerging();
    OwnEdit edit(*this);
    VxEditCompositeGuard group(model_);
    CancelSelection();
    model_.DeleteRange(start.line, start.column, caret_.line, caret_.column);
    VxEditLineCol end = InsertText(start, word);
    VxEditLineCol importAt;
    std::string importText;
    if (placeImport && placeImport(importAt, importText) && !importText.empty()) {
        VxEditLineColPair range(importAt, importAt);
        if (model_.InsertAt(range, importText.data(), static_cast<std::int64_t>(importText.size())) == 1 &&
            !(end < importAt)) {
            // The import went in before the word, which moved with it.
            if (importAt.line == end.line)
                end.column = range.end.column + (end.column - importAt.column);
            end.line += range.end.line - range.start.line;
        }
    }
    SetCaret(end.line, end.column);
    EnsureCaretVisible();
}
