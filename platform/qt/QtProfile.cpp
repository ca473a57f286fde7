#include "platform/qt/QtProfile.h"

namespace quillet::platform {

QtProfile::QtProfile() : settings_(QSettings::NativeFormat, QSettings::UserScope,
                                   QStringLiteral("Tarrow Samples"), QStringLiteral("Quillet"))
{
}

QtProfile::QtProfile(const QString& fileName) : settings_(fileName, QSettings::IniFormat) {}

QString QtProfile::KeyOf(std::string_view section, std::string_view name)
{
    QString key = QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size()));
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (key.endsWith(QLatin1Char('/')))
        key.chop(1);
    key += QLatin1Char('/');
    key += QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return key;
}

bool QtProfile::Has(std::string_view section, std::string_view name) const
{
    return settings_.contains(KeyOf(section, name));
}

int QtProfile::GetInt(std::string_view section, std::string_view name, int fallback) const
{
    bool ok = false;
    const int value = settings_.value(KeyOf(section, name)).toInt(&ok);
    return ok ? value : fallback;
}

std::string QtProfile::GetString(std::string_view section, std::string_view name,
                                 std::string_view fallback) const
{
    const QVariant value = settings_.value(KeyOf(section, name));
    if (!value.isValid())
        return std::string(fallback);
    return value.toString().toStdString();
}

bool QtProfile::WriteInt(std::string_view section, std::string_view name, int value)
{
    settings_.setValue(KeyOf(section, name), value);
    return Stored();
}

bool QtProfile::WriteString(std::string_view section, std::string_view name,
                            std::string_view value)
{
    settings_.setValue(KeyOf(section, name),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    return Stored();
}

bool QtProfile::Stored()
{
    return settings_.isWritable() && settings_.status() == QSettings::NoError;
}

}  // namespace quillet::platform
