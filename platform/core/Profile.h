#pragma once

#include <string>
#include <string_view>

namespace quillet::platform {

// The per-user settings store: integer and string values addressed by a
// section and a value name. Sections may nest with a backslash ("HTML\Editor").
class Profile {
public:
    virtual ~Profile() = default;

    virtual bool Has(std::string_view section, std::string_view name) const = 0;
    virtual int GetInt(std::string_view section, std::string_view name, int fallback) const = 0;
    virtual std::string GetString(std::string_view section, std::string_view name,
                                  std::string_view fallback) const = 0;
    // Both writers report whether the value was stored.
    virtual bool WriteInt(std::string_view section, std::string_view name, int value) = 0;
    virtual bool WriteString(std::string_view section, std::string_view name,
                             std::string_view value) = 0;
};

}  // namespace quillet::platform
