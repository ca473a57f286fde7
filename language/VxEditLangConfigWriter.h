#pragma once

#include "mvc/IRefCount.h"

class VxEditLangConfig;

// Writes a configuration to one store; never changes the configuration.
class VxEditLangConfigWriter : public tarrow::foundation::CRefCounted<> {
public:
    // 1 when everything was written, else 0.
    virtual int Save(const VxEditLangConfig& config) = 0;
};
