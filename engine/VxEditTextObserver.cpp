#include "engine/VxEditTextObserver.h"

#include "engine/VxEditCompositeCommand.h"
#include "engine/VxEditTextCommand.h"
#include "mvc/VxEditMsg.h"

void VxEditTextObserver::Update(tarrow::foundation::ISubject* subject, tarrow::foundation::IMessage* message)
{
    const int id = message ? message->GetId() : 0;
    if (id == kMsgCompositeCommand) {
        if (auto* composite = dynamic_cast<VxEditCompositeCommand*>(message))
            composite->ForwardToObserver(*this, subject);
    } else if (id == kMsgInitController) {
        OnNewText();
    } else if (id == kMsgTextCommand) {
        if (auto* command = dynamic_cast<VxEditTextCommand*>(message))
            OnTextCommand(*command);
    }
}
