#pragma once

#include "language/VxEditLangConfigWriter.h"

#include <string>

namespace quillet::platform {
class Profile;
}

// Writes the user-changeable part of a configuration (options, colour
// groups, font) to the settings profile.
class VxEditRegConfigWriter : public VxEditLangConfigWriter {
public:
    // The profile must outlive the writer.
    VxEditRegConfigWriter(quillet::platform::Profile& profile, std::string base);

    // Stops at the first value the profile refuses and reports 0.
    int Save(const VxEditLangConfig& config) override;

    bool WriteEditor(const VxEditLangConfig& config);
    bool WriteColorGroups(const VxEditLangConfig& config);
    bool WriteFont(const VxEditLangConfig& config);

    const std::string& Base() const { return base_; }

private:
    quillet::platform::Profile& profile_;
    std::string base_;
};
