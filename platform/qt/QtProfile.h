#pragma once

#include "platform/core/Profile.h"

#include <QSettings>

namespace quillet::platform {

// The user's settings in QSettings under organisation "Tarrow Samples" and
// application "Quillet" (~/.config/Tarrow Samples/Quillet.conf). Nested
// sections written with a backslash become nested groups.
class QtProfile : public Profile {
public:
    QtProfile();
    explicit QtProfile(const QString& fileName);  // an explicit ini file, for tests

    bool Has(std::string_view section, std::string_view name) const override;
    int GetInt(std::string_view section, std::string_view name, int fallback) const override;
    std::string GetString(std::string_view section, std::string_view name,
                          std::string_view fallback) const override;
    bool WriteInt(std::string_view section, std::string_view name, int value) override;
    bool WriteString(std::string_view section, std::string_view name,
                     std::string_view value) override;

    void Sync() { settings_.sync(); }

private:
    static QString KeyOf(std::string_view section, std::string_view name);
    bool Stored();

    QSettings settings_;
};

}  // namespace quillet::platform
