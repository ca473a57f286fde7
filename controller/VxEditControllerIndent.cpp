// Indentation in VxEditController: auto-indent after Return, and in
// brace-indented texts (Java, JavaScript) with AutoIndent on, indentation
// that follows the braces: a line after an opening "{" goes one level
// deeper, and a "}" typed first on its line moves to its partner's level.
// The whitespace written is the model's (VxEdit::WhitespaceFor), which keeps
// a space-indented text free of tabs.
#include "controller/VxEditController.h"

#include "engine/VxEdit.h"
#include "engine/VxEditBraceMatcher.h"
#include "engine/VxEditCompositeGuard.h"
#include "language/VxEditLangConfig.h"

namespace {

std::int32_t LeadingBlanks(VxEdit& model, std::int32_t line)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    model.LineText(line, text, length);
    std::int32_t count = 0;
    while (count < length && (text[count] == ' ' || text[count] == '\t'))
        ++count;
    return count;
}

}  // namespace

bool VxEditController::IndentsByBraces() const
{
    const VxEditLangConfig* config = model_.GetLangConfig();
    return config && config->GetAutoIndent() && model_.IsBraceIndented();
}

// Run by Return inside its undo step, with the caret at the start of the
// new line. keptIndent is the caret's width when it stood in virtual space
// on a blank line, else -1.
void VxEditController::AutoIndent(std::int32_t keptIndent)
{
    const VxEditLangConfig* config = model_.GetLangConfig();
    if (!config || !config->GetAutoIndent() || caret_.line == 0)
        return;
    const std::int32_t ended = caret_.line - 1;
    const std::int32_t width =
        keptIndent >= 0 ? keptIndent : model_.CharToDisplayCol(LeadingBlanks(model_, ended), ended);
    if (keptIndent < 0 && IndentsByBraces() && VxEditBraceMatcher(model_).CodeEndsWith(ended, '{')) {
        OpenBlock(width);
        return;
    }
    if (width <= 0)
        return;
    if (model_.LineLength(caret_.line) == 0) {
        PlaceCaretInVirtualSpace(width);
        return;
    }
    const VxEditLineCol end = InsertText(caret_, model_.WhitespaceFor(width));
    SetCaret(end.line, end.column);
}

// The new line goes one level deeper than the "{" line (outer). A "}" that
// followed the caret gets a line of its own at the outer level, so the
// caret stands on a line between the two braces. Blank lines keep no
// whitespace: the caret waits in virtual space until something is typed.
void VxEditController::OpenBlock(std::int32_t outer)
{
    const std::int32_t line = caret_.line;
    const std::int32_t inner = outer + model_.IndentWidth();
    const std::int32_t blanks = LeadingBlanks(model_, line);
    if (blanks > 0)
        model_.DeleteRange(line, 0, line, blanks);
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(line, text, length);
    if (length > 0 && text[0] == '}') {
        const std::string closing = LineBreak() + model_.WhitespaceFor(outer);
        model_.InsertAtLineCol(line, 0, closing.data(), static_cast<std::int64_t>(closing.size()));
    }
    if (model_.LineLength(line) == 0) {
        PlaceCaretInVirtualSpace(inner);
        return;
    }
    const std::string indent = model_.WhitespaceFor(inner);
    model_.InsertAtLineCol(line, 0, indent.data(), static_cast<std::int64_t>(indent.size()));
    SetCaret(line, static_cast<std::int32_t>(indent.size()));
}

void VxEditController::PlaceCaretInVirtualSpace(std::int32_t width)
{
    caret_ = VxEditLineCol(caret_.line, width);
    caretX_ = PositionX(caret_);
    preferredX_ = caretX_;
    CaretUpdated();
}

bool VxEditController::StartsLineAtCaret() const
{
    const std::int32_t length = model_.LineLength(caret_.line);
    const std::int32_t before = caret_.column < length ? caret_.column : length;
    return LeadingBlanks(model_, caret_.line) >= before;
}

// "}" typed first on its line: the line takes the indentation of the line
// that holds the partner "{", in the same undo step as the key. Without a
// partner in reach the "}" stays where it was typed.
void VxEditController::TypeClosingBrace()
{
    StopMerging();
    VxEditCompositeGuard group(model_);
    const VxEditLineCol at = PadToCaret();
    const VxEditLineCol end = InsertText(at, "}");
    SetCaret(end.line, end.column);
    VxEditLineCol partner;
    if (end.line != at.line || !VxEditBraceMatcher(model_).FindPartner(at, partner))
        return;
    const std::int32_t line = at.line;
    const std::int32_t width = model_.CharToDisplayCol(LeadingBlanks(model_, partner.line), partner.line);
    const std::string indent = model_.WhitespaceFor(width);
    const std::int32_t blanks = LeadingBlanks(model_, line);
    std::string current;
    model_.CopyText(current, line, 0, line, blanks);
    if (current == indent)
        return;
    model_.DeleteRange(line, 0, line, blanks);
    model_.InsertAtLineCol(line, 0, indent.data(), static_cast<std::int64_t>(indent.size()));
    SetCaret(line, static_cast<std::int32_t>(indent.size()) + end.column - blanks);
}
