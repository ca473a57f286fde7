#pragma once

#include "mvc/IRefCount.h"

#include <string>

namespace tarrow::foundation {

// A notification sent by a subject to its observers: a numbered message
// whose description is the string-table text for its id.
class IMessage : public IRefCount {
public:
    virtual int GetId() const = 0;
    virtual std::string GetDescription() const = 0;
};

}  // namespace tarrow::foundation
