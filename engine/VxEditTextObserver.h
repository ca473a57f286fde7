#pragma once

#include "mvc/IObserver.h"

class VxEditTextCommand;

// An observer of a model's text: told when the model holds a new text (a new
// document or a loaded file) and of every insertion or deletion done or
// undone, composite commands taken apart into their steps.
class VxEditTextObserver : public tarrow::foundation::IObserver {
public:
    void Update(tarrow::foundation::ISubject* subject, tarrow::foundation::IMessage* message) final;

    virtual void OnNewText() = 0;
    virtual void OnTextCommand(const VxEditTextCommand& command) = 0;
};
