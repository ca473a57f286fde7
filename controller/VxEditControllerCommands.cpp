// The command dispatch of VxEditController: each command routed to its
// handler and its enabled and checked state, and undo and redo with the
// caret placed at the text they changed.
#include "controller/VxEditController.h"

#include "controller/IVxEditClipboard.h"
#include "engine/VxEdit.h"
#include "engine/VxEditCompositeCommand.h"
#include "engine/VxEditTextCommand.h"
#include "language/VxEditLangConfig.h"
#include "resources/CommandIds.h"

using tarrow::foundation::CMvcCommand;
using tarrow::foundation::CommandState;

namespace {

// The text command whose range the caret follows: the first one undone
// last, or the last one redone.
VxEditTextCommand* LeafOf(CMvcCommand* command, bool first)
{
    while (auto* composite = dynamic_cast<VxEditCompositeCommand*>(command)) {
        if (composite->ChildCount() == 0)
            return nullptr;
        command = composite->Child(first ? 0 : composite->ChildCount() - 1);
    }
    return dynamic_cast<VxEditTextCommand*>(command);
}

}  // namespace

void VxEditController::AfterUndoRedo(CMvcCommand* command, bool undo)
{
    VxEditTextCommand* leaf = LeafOf(command, undo);
    if (!leaf)
        return;
    const VxEditLineColPair range = leaf->Range().Normalized();
    const VxEditLineCol& at = leaf->LastActionWasInsertion() ? range.end : range.start;
    SetCaret(at.line, at.column);
    EnsureCaretVisible();
}

// Commands

bool VxEditController::OnCommand(int id)
{
    if (DispatchMove(id) || DispatchEdit(id) || DispatchMarker(id))
        return true;
    switch (id) {
    case cmd::kFindNext:
    case cmd::kFindPrevious:
    case cmd::kFindNextWord:
    case cmd::kFindPreviousWord:
        FindCommand(id);
        return true;
    case cmd::kEditCopy:
        Copy();
        return true;
    case cmd::kEditCut:
        Cut();
        return true;
    case cmd::kEditCopyAsHtml:
        CopyAsHtml();
        return true;
    case cmd::kEditPaste:
        Paste();
        return true;
    case cmd::kEditSelectAll:
        SelectAll();
        return true;
    case cmd::kEditUndo:
    case cmd::kEditRedo:
        if (CanEdit()) {
            const bool undo = id == cmd::kEditUndo;
            StopMerging();
            CancelSelection();
            CMvcCommand* command = nullptr;
            {
                OwnEdit edit(*this);
                command = undo ? model_.Undo() : model_.Redo();
            }
            if (command)
                AfterUndoRedo(command, undo);
        }
        return true;
    case cmd::kToggleOverwrite:
        SetOverwrite(!IsOverwrite());
        return true;
    case cmd::kCancelSelection:
        CancelSelection();
        return true;
    case cmd::kSelectWord:
        SelectWord();
        return true;
    case cmd::kToggleWhitespace:
        ToggleWhitespace();
        return true;
    case cmd::kLineLeft:
        LineLeftNotification();
        return true;
    case cmd::kEditMatchBrace:
    case cmd::kSelectToBrace:
        GoToMatchingBrace(id == cmd::kSelectToBrace);
        return true;
    default:
        return false;
    }
}

bool VxEditController::OnUpdateCommand(int id, CommandState& state)
{
    switch (id) {
    case cmd::kEditCopy:
        state.enabled = !(model_.LineCount() == 1 && model_.LineLength(0) == 0);
        return true;
    case cmd::kEditCut:
        state.enabled = HasSelection() && CanEdit();
        return true;
    case cmd::kEditPaste:
        state.enabled = CanEdit() && clipboard_.HasText();
        return true;
    case cmd::kIndicatorOvr:
        state.enabled = IsOverwrite();
        return true;
    case cmd::kEditUndo:
        state.enabled = CanEdit() && model_.UndoCount() > 0;
        return true;
    case cmd::kEditRedo:
        state.enabled = CanEdit() && model_.RedoCount() > 0;
        return true;
    case cmd::kToggleWhitespace: {
        const VxEditLangConfig* config = model_.GetLangConfig();
        state.enabled = true;
        state.checked = config && config->GetShowWhitespace();
        return true;
    }
    case cmd::kEditSelectAll:
    case cmd::kEditCopyAsHtml:
    case cmd::kFindNext:
    case cmd::kFindPrevious:
    case cmd::kFindNextWord:
    case cmd::kFindPreviousWord:
    case cmd::kToggleOverwrite:
    case cmd::kCancelSelection:
    case cmd::kSelectWord:
    case cmd::kEditMatchBrace:
    case cmd::kSelectToBrace:
        state.enabled = true;
        return true;
    default:
        break;
    }
    if (UpdateMarker(id, state))
        return true;
    if (IsMoveCommand(id)) {
        state.enabled = true;
        return true;
    }
    if (IsEditCommand(id)) {
        state.enabled = CanEdit();
        return true;
    }
    return false;
}
