#include "mvc/MvcTransactionModel.h"

#include "mvc/CMvcCommand.h"

namespace tarrow::foundation {

MvcTransactionModel::~MvcTransactionModel()
{
    while (CMvcCommand* command = undo_.Pop())
        command->Release();
    while (CMvcCommand* command = redo_.Pop())
        command->Release();
}

void MvcTransactionModel::Discard(CMvcCommand* command, bool overflow)
{
    if (!command)
        return;
    OnCommandDiscarded(command, overflow);
    command->Release();
}

void MvcTransactionModel::ClearRedo()
{
    while (CMvcCommand* command = redo_.Pop())
        Discard(command, false);
}

void MvcTransactionModel::PushUndo(CMvcCommand* command)
{
    Discard(undo_.Push(command), true);
}

void MvcTransactionModel::Log(CMvcCommand* command)
{
    if (!command)
        return;
    PushUndo(command);
    ClearRedo();
    OnHistoryChanged();
}

CMvcCommand* MvcTransactionModel::Undo()
{
    CloseTransaction();
    CMvcCommand* done = nullptr;
    while (CMvcCommand* command = undo_.Pop()) {
        if (command->Succeeded())
            command->Unexecute();
        Discard(redo_.Push(command), true);
        // A step that failed never forms an undo step of its own.
        if (command->Succeeded()) {
            done = command;
            break;
        }
    }
    OnHistoryChanged();
    return done;
}

CMvcCommand* MvcTransactionModel::Redo()
{
    CloseTransaction();
    CMvcCommand* done = nullptr;
    while (CMvcCommand* command = redo_.Pop()) {
        if (command->Succeeded())
            command->Execute();
        Discard(undo_.Push(command), true);
        if (command->Succeeded()) {
            done = command;
            break;
        }
    }
    OnHistoryChanged();
    return done;
}

void MvcTransactionModel::ClearHistory()
{
    while (CMvcCommand* command = undo_.Pop())
        Discard(command, false);
    ClearRedo();
}

}  // namespace tarrow::foundation
