#include "javatools/output/OutputController.h"

#include "engine/VxEdit.h"
#include "javatools/output/CompilerMessage.h"
#include "resources/CommandIds.h"

using tarrow::foundation::CommandState;

namespace {

// How far below a message javac puts its caret line: the quoted source
// line, then the caret.
constexpr std::int32_t kCaretLineReach = 3;

}  // namespace

OutputController::OutputController(VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard)
    : CScrivoCtlr(model, view, clipboard)
{
    SetReadOnly(true);
}

bool OutputController::OnCommand(int id)
{
    if (id == cmd::kOutputClear) {
        Clear();
        return true;
    }
    return CScrivoCtlr::OnCommand(id);
}

bool OutputController::OnUpdateCommand(int id, CommandState& state)
{
    if (id == cmd::kOutputClear) {
        state.enabled = true;
        return true;
    }
    return CScrivoCtlr::OnUpdateCommand(id, state);
}

void OutputController::SetText(const std::string& text)
{
    VxEdit& model = GetModel();
    CancelSelection();
    model.DeleteRange(0, 0, model.LastLine(), model.LineLength(model.LastLine()));
    model.InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    // The log is not something to undo into.
    model.ClearHistory();
    model.SetModified(0);
    SetCaret(0, 0);
    EnsureCaretVisible();
}

void OutputController::Clear()
{
    VxEdit& model = GetModel();
    LockRedraw();
    CancelSelection();
    model.DeleteRange(0, 0, model.LastLine(), model.LineLength(model.LastLine()));
    model.ClearHistory();
    model.SetModified(0);
    SetCaret(0, 0);
    UnlockRedraw();
    GetView().InvalidateAll();
}

std::string OutputController::LineString(std::int32_t line)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (GetModel().LineText(line, text, length) != 1 || !text)
        return {};
    return std::string(text, static_cast<std::size_t>(length));
}

void OutputController::OnDoubleClicked()
{
    const std::int32_t caretLine = Caret().line;
    CompilerMessage message;
    if (!ParseCompilerMessage(LineString(caretLine), message) || !errorLine_)
        return;
    std::int32_t column = -1;
    const std::int32_t last = GetModel().LastLine();
    for (std::int32_t line = caretLine + 1; line <= last && line <= caretLine + kCaretLineReach;
         ++line) {
        const std::string text = LineString(line);
        CompilerMessage next;
        if (ParseCompilerMessage(text, next))
            break;
        column = CaretLineColumn(text);
        if (column >= 0)
            break;
    }
    errorLine_(message.file, message.line - 1, column);
}

bool OutputController::StepToMessage(int step)
{
    const std::int32_t last = GetModel().LastLine();
    std::int32_t line = Caret().line;
    // Every other line once, the caret's own line last.
    for (std::int32_t visited = 0; visited <= last; ++visited) {
        line += step;
        if (line > last)
            line = 0;
        else if (line < 0)
            line = last;
        CompilerMessage message;
        if (!ParseCompilerMessage(LineString(line), message))
            continue;
        SetCaret(line, 0);
        SetSelection(VxEditLineCol(line, GetModel().LineLength(line)), VxEditLineCol(line, 0),
                     VxEditSelection::kStream);
        RevealCaret();
        OnDoubleClicked();
        return true;
    }
    return false;
}
