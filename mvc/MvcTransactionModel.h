#pragma once

#include "mvc/CCStack_T.h"
#include "mvc/CMvcModel.h"

namespace tarrow::foundation {

class CMvcCommand;

// A model with an undo history: every executed step is logged as a command on
// the undo stack; Undo moves the newest one to the redo stack and Redo moves
// it back. Both stacks keep the newest 256 commands, each holding one
// reference.
class MvcTransactionModel : public CMvcModel {
public:
    static constexpr std::size_t kHistoryDepth = 256;

    // Takes over the caller's reference to the command.
    virtual void Log(CMvcCommand* command);
    // The command undone or redone (still owned by the history), or null when
    // there was nothing that could be undone or redone.
    virtual CMvcCommand* Undo();
    virtual CMvcCommand* Redo();
    virtual void ClearHistory();

    CMvcCommand* UndoTop() const { return undo_.Peek(); }
    CMvcCommand* RedoTop() const { return redo_.Peek(); }
    std::size_t UndoCount() const { return undo_.Count(); }
    std::size_t RedoCount() const { return redo_.Count(); }

protected:
    MvcTransactionModel() = default;
    ~MvcTransactionModel() override;

    // Pushes without the redo reset; for derived models that log elsewhere.
    void PushUndo(CMvcCommand* command);
    // Removes the newest undo entry and hands its reference to the caller.
    CMvcCommand* PopUndo() { return undo_.Pop(); }

    // Runs before Undo and Redo, so that an open group of steps is closed.
    virtual void CloseTransaction() {}
    // Runs after every Log, Undo and Redo.
    virtual void OnHistoryChanged() {}
    // Runs before a command leaves the history for good; overflow is true when
    // it fell off the bottom of the undo stack.
    virtual void OnCommandDiscarded(CMvcCommand* command, bool overflow) {}

private:
    using Stack = CCStack_T<CMvcCommand*, kHistoryDepth>;

    void Discard(CMvcCommand* command, bool overflow);
    void ClearRedo();

    Stack undo_;
    Stack redo_;
};

}  // namespace tarrow::foundation
