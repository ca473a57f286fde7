#include "engine/VxEditCompositeCommand.h"

#include "mvc/IObserver.h"
#include "mvc/VxEditMsg.h"

VxEditCompositeCommand::~VxEditCompositeCommand()
{
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        (*it)->Release();
}

int VxEditCompositeCommand::GetId() const
{
    return kMsgCompositeCommand;
}

bool VxEditCompositeCommand::Execute()
{
    for (tarrow::foundation::CMvcCommand* child : children_) {
        if (!child->Execute())
            return false;
    }
    return true;
}

bool VxEditCompositeCommand::Unexecute()
{
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        if (!(*it)->Unexecute())
            return false;
    }
    return true;
}

bool VxEditCompositeCommand::AllChildrenSucceeded() const
{
    for (const tarrow::foundation::CMvcCommand* child : children_) {
        if (!child->Succeeded())
            return false;
    }
    return true;
}

void VxEditCompositeCommand::ForwardToObserver(tarrow::foundation::IObserver& observer,
                                               tarrow::foundation::ISubject* subject) const
{
    for (tarrow::foundation::CMvcCommand* child : children_)
        observer.Update(subject, child);
}

void VxEditCompositeCommand::Add(tarrow::foundation::CMvcCommand* child)
{
    if (child)
        children_.push_back(child);
}

bool VxEditCompositeCommand::CanAdd(const tarrow::foundation::CMvcCommand* child) const
{
    for (const tarrow::foundation::CMvcCommand* existing : children_) {
        if (existing == child)
            return false;
        if (const auto* nested = dynamic_cast<const VxEditCompositeCommand*>(existing);
            nested && !nested->CanAdd(child))
            return false;
    }
    return true;
}
