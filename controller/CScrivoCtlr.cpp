#include "controller/CScrivoCtlr.h"

#include "controller/IVxEditView.h"
#include "engine/VxEdit.h"
#include "resources/CommandIds.h"

#include <algorithm>
#include <cstdio>

using tarrow::foundation::CommandState;

CScrivoCtlr::CScrivoCtlr(VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard)
    : VxEditController(model, view, clipboard)
{
}

CScrivoCtlr::~CScrivoCtlr() = default;

void CScrivoCtlr::SetBuildCommands(std::unique_ptr<IBuildCommands> build)
{
    build_ = std::move(build);
}

void CScrivoCtlr::MarkErrorLine(std::int32_t line, std::int32_t column)
{
    VxEdit& model = GetModel();
    if (line >= 0 && line <= model.LastLine() && !model.TestMark(line, VxEdit::kMarkErrorLine))
        model.ToggleMark(line, VxEdit::kMarkErrorLine);
    CancelSelection();
    const std::int32_t target = std::clamp(line, 0, model.LastLine());
    SetCaret(target, model.SnapColumn(target, std::clamp(column, 0, model.LineLength(target))));
    RevealCaret();
    GetView().InvalidateAll();
}

bool CScrivoCtlr::OnCommand(int id)
{
    if (build_ && build_->OnCommand(id))
        return true;
    if (id == cmd::kViewLineNumbers) {
        ShowLineNumbers(!lineNumbers_);
        return true;
    }
    return VxEditController::OnCommand(id);
}

bool CScrivoCtlr::OnUpdateCommand(int id, CommandState& state)
{
    if (build_ && build_->OnUpdateCommand(id, state))
        return true;
    if (id == cmd::kViewLineNumbers) {
        state.enabled = true;
        state.checked = lineNumbers_;
        return true;
    }
    return VxEditController::OnUpdateCommand(id, state);
}

void CScrivoCtlr::OnMouseWheel(int delta)
{
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    if (notches != 0)
        ScrollLines(-notches * kLinesPerNotch);
}

void CScrivoCtlr::ShowLineNumbers(bool show)
{
    lineNumbers_ = show;
    marginDigits_ = LineNumberDigits();
    // The caret keeps its text position; its point moves with the margin.
    SetCaret(Caret().line, Caret().column, true);
    GetView().InvalidateAll();
}

int CScrivoCtlr::LineNumberDigits() const
{
    int digits = 1;
    for (std::int64_t lines = GetModel().LineCount(); lines >= 10; lines /= 10)
        ++digits;
    return std::max(kLineNumberDigits, digits);
}

int CScrivoCtlr::MarginWidth() const
{
    // The numbers and a blank after them.
    if (lineNumbers_)
        return (LineNumberDigits() + 1) * GetView().CharWidth();
    return VxEditController::MarginWidth();
}

std::string CScrivoCtlr::LineAndColumnText() const
{
    char text[64];
    std::snprintf(text, sizeof text, "Ln %d, Col %d", Caret().line + kLineNumberBase,
                  Caret().column + kLineNumberBase);
    return text;
}

std::string CScrivoCtlr::LineText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "Line:%d", Caret().line + 1);
    return text;
}

std::string CScrivoCtlr::ColumnText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "Col:%d", Caret().column + 1);
    return text;
}

void CScrivoCtlr::OnCaretChanged()
{
    // A text that grows past 9,999 lines (or shrinks back) widens the
    // margin for every line, not only the edited ones.
    if (lineNumbers_ && LineNumberDigits() != marginDigits_) {
        marginDigits_ = LineNumberDigits();
        GetView().InvalidateAll();
    }
    if (caretStatus_)
        caretStatus_(LineAndColumnText(), LineText(), ColumnText());
}

void CScrivoCtlr::OnOverwriteChanged()
{
    if (overwriteChanged_)
        overwriteChanged_(IsOverwrite());
}
