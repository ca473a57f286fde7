#pragma once

#include "platform/core/Profile.h"

#include <map>
#include <string>

namespace quillet::platform {

// A profile held in memory: the store used by tests and by code that must
// not touch the user's settings. Section and value names compare without
// regard to case, as the settings store does.
class MemoryProfile : public Profile {
public:
    bool Has(std::string_view section, std::string_view name) const override;
    int GetInt(std::string_view section, std::string_view name, int fallback) const override;
    std::string GetString(std::string_view section, std::string_view name,
                          std::string_view fallback) const override;
    bool WriteInt(std::string_view section, std::string_view name, int value) override;
    bool WriteString(std::string_view section, std::string_view name,
                     std::string_view value) override;

    // Makes every later write fail, to exercise callers' failure paths.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    std::size_t ValueCount() const { return values_.size(); }

private:
    static std::string KeyOf(std::string_view section, std::string_view name);

    std::map<std::string, std::string> values_;
    bool readOnly_ = false;
};

}  // namespace quillet::platform
