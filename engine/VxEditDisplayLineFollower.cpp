#include "engine/VxEditDisplayLineFollower.h"

#include "engine/VxEdit.h"
#include "engine/VxEditDisplayLineMap.h"
#include "engine/VxEditTextCommand.h"

VxEditDisplayLineFollower::VxEditDisplayLineFollower(VxEdit& model, VxEditDisplayLineMap& map)
    : model_(model), map_(map)
{
    map_.Reset(model_.LineCount());
    model_.Attach(this);
}

VxEditDisplayLineFollower::~VxEditDisplayLineFollower()
{
    model_.Detach(this);
}

void VxEditDisplayLineFollower::OnNewText()
{
    map_.Reset(model_.LineCount());
}

void VxEditDisplayLineFollower::OnTextCommand(const VxEditTextCommand& command)
{
    const VxEditLineColPair range = command.Range().Normalized();
    const std::int32_t start = range.start.line;
    const std::int32_t lines = range.end.line - start;
    const std::int32_t at = range.start.column == 0 ? start : start + 1;
    if (command.LastActionWasInsertion()) {
        map_.InsertLines(at, lines);
        map_.MarkStale(start, range.end.line);
    } else {
        map_.RemoveLines(at, lines);
        map_.MarkStale(start, start);
    }
}
