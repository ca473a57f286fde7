#pragma once

#include "language/VxEditLangConfigReader.h"

#include <string>

namespace quillet::platform {
class Profile;
}

// Reads the user's changes to a configuration from the settings profile,
// over what the configuration already holds: only groups that it already
// has are read, and a missing value keeps the current one.
class VxEditRegConfigReader : public VxEditLangConfigReader {
public:
    // The profile must outlive the reader.
    VxEditRegConfigReader(quillet::platform::Profile& profile, std::string base);

    bool ReadEditor(VxEditLangConfig& config) const;
    bool ReadColorGroups(VxEditLangConfig& config) const;
    bool ReadFont(VxEditLangConfig& config) const;

    const std::string& Base() const { return base_; }

protected:
    int Read(VxEditLangConfig& config) override;

private:
    quillet::platform::Profile& profile_;
    std::string base_;
};
