#pragma once

#include "language/VxEditLangConfigReader.h"
#include "mvc/IRefCount.h"

#include <vector>

// Runs several readers one after the other on the same configuration, so a
// later store overrides what an earlier one read (the built-in form, then
// the user's changes). Each reader in the chain resets or not as it does alone.
class VxEditChainConfigReader : public VxEditLangConfigReader {
public:
    explicit VxEditChainConfigReader(std::vector<tarrow::foundation::RefPtr<VxEditLangConfigReader>> readers)
        : VxEditLangConfigReader(false), readers_(std::move(readers))
    {
    }

protected:
    // Runs every reader, also after one has failed; 1 when all succeeded.
    int Read(VxEditLangConfig& config) override;

private:
    std::vector<tarrow::foundation::RefPtr<VxEditLangConfigReader>> readers_;
};
