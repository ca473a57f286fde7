#pragma once

#include "mvc/IMessage.h"

namespace tarrow::foundation {

// An undoable step of a transaction model. A command is also a message, so a
// model can tell its observers which command it has just carried out.
class CMvcCommand : public CRefCounted<IMessage> {
public:
    // Each returns true when the step was carried out.
    virtual bool Execute() = 0;
    virtual bool Unexecute() = 0;
    // False once any execution of the step has failed; such a step is skipped
    // by later undo and redo.
    virtual bool Succeeded() const = 0;

protected:
    ~CMvcCommand() override = default;
};

}  // namespace tarrow::foundation
