#include "engine/VxEditTextCommand.h"

#include "engine/VxEdit.h"
#include "mvc/VxEditMsg.h"

#include <cstdio>

VxEditTextCommand::VxEditTextCommand(VxEdit& model, const VxEditLineColPair& range, bool isInsertion,
                                     std::string text)
    : range_(range), text_(std::move(text)), model_(model), isInsertion_(isInsertion ? 1 : 0),
      lastInsert_(isInsertion ? 1 : 0)
{
}

int VxEditTextCommand::GetId() const
{
    return kMsgTextCommand;
}

std::string VxEditTextCommand::GetDescription() const
{
    char text[128];
    if (isInsertion_)
        std::snprintf(text, sizeof text, "Insert text having length %d at line %d, column %d",
                      static_cast<int>(text_.size()), range_.start.line, range_.start.column);
    else
        std::snprintf(text, sizeof text, "Delete text from line %d, column %d to line %d, column %d",
                      range_.start.line, range_.start.column, range_.end.line, range_.end.column);
    return text;
}

bool VxEditTextCommand::Execute()
{
    model_.SetExecutingCommand(this);
    const bool done = isInsertion_ ? DoInsert() : DoDelete();
    model_.SetExecutingCommand(nullptr);
    return done;
}

bool VxEditTextCommand::Unexecute()
{
    model_.SetExecutingCommand(this);
    // Deleted text goes back exactly as it was, however long its lines.
    model_.SetRestoring(!isInsertion_);
    const bool done = isInsertion_ ? DoDelete() : DoInsert();
    model_.SetRestoring(false);
    model_.SetExecutingCommand(nullptr);
    return done;
}

bool VxEditTextCommand::DoInsert()
{
    lastInsert_ = 1;
    const VxEditLineColPair before = range_;
    const int result = model_.InsertAt(range_, text_.data(), static_cast<std::int64_t>(text_.size()));
    // The line-length rule may have broken a line inside the text.
    if (result && (before.start != range_.start || before.end != range_.end))
        model_.CopyText(text_, range_);
    succeeded_ &= result ? 1 : 0;
    return result != 0;
}

bool VxEditTextCommand::DoDelete()
{
    lastInsert_ = 0;
    if (text_.empty())
        model_.CopyText(text_, range_);
    const int result = model_.DeleteRange(range_);
    succeeded_ &= result ? 1 : 0;
    return result != 0;
}

bool VxEditTextCommand::MergeInsertion(const VxEditTextCommand& next)
{
    if (!isInsertion_ || !lastInsert_ || !next.isInsertion_ || !text_.empty())
        return false;
    if (next.range_.start != range_.end || next.range_.start.line != next.range_.end.line)
        return false;
    range_.end = next.range_.end;
    return true;
}
