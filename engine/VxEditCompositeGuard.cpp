#include "engine/VxEditCompositeGuard.h"

#include "engine/VxEdit.h"

VxEditCompositeGuard::VxEditCompositeGuard(VxEdit& model)
    : model_(model), opened_(!model.IsRecordingComposite())
{
    if (opened_)
        model_.BeginComposite();
}

VxEditCompositeGuard::~VxEditCompositeGuard()
{
    if (opened_)
        model_.EndComposite();
}
