#pragma once

#include "mvc/IRefCount.h"
#include "mvc/ISubject.h"

namespace tarrow::foundation {

// A model: a counted subject whose observers (views, controllers) are told
// about every change through messages. The model never calls a view.
class CMvcModel : public CRefCounted<IRefCount>, public ISubject {
protected:
    CMvcModel() = default;
    ~CMvcModel() override = default;
};

}  // namespace tarrow::foundation
