#pragma once

#include "mvc/IRefCount.h"

class VxEditLangConfig;

// Fills a configuration from one store. A reader with the reset flag first
// puts the configuration back into its ResetDefaults state.
class VxEditLangConfigReader : public tarrow::foundation::CRefCounted<> {
public:
    // 1 when the store was read, else 0.
    int Load(VxEditLangConfig& config);

    bool ResetsFirst() const { return resetFirst_; }

protected:
    explicit VxEditLangConfigReader(bool resetFirst) : resetFirst_(resetFirst) {}

    virtual int Read(VxEditLangConfig& config) = 0;

private:
    bool resetFirst_;
};
