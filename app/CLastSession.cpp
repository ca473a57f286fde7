#include "app/CLastSession.h"

#include "app/SettingsKeys.h"
#include "platform/core/Profile.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Name(const char* format, int index)
{
    char name[32];
    std::snprintf(name, sizeof name, format, index + 1);
    return name;
}

int NotNegative(int value)
{
    return std::max(value, 0);
}

}  // namespace

CLastSession CLastSession::Read(const quillet::platform::Profile& profile)
{
    using namespace settings;
    CLastSession session;
    const int count = profile.GetInt(kSession, kSessionCount, 0);
    const int active = profile.GetInt(kSession, kSessionActive, 0) - 1;
    // A hand-edited count is not trusted beyond the entries it names.
    for (int i = 0; i < std::min(count, 1000); ++i) {
        File file;
        file.path = profile.GetString(kSession, Name(kSessionFileFormat, i), "");
        if (file.path.empty())
            continue;
        file.line = NotNegative(profile.GetInt(kSession, Name(kSessionLineFormat, i), 0));
        file.column = NotNegative(profile.GetInt(kSession, Name(kSessionColumnFormat, i), 0));
        file.topLine = NotNegative(profile.GetInt(kSession, Name(kSessionTopLineFormat, i), 0));
        if (i == active)
            session.active = static_cast<int>(session.files.size());
        session.files.push_back(std::move(file));
    }
    return session;
}

bool CLastSession::Write(quillet::platform::Profile& profile) const
{
    using namespace settings;
    bool ok = profile.WriteInt(kSession, kSessionCount, static_cast<int>(files.size()));
    ok = profile.WriteInt(kSession, kSessionActive, active + 1) && ok;
    for (int i = 0; i < static_cast<int>(files.size()); ++i) {
        const File& file = files[static_cast<std::size_t>(i)];
        ok = profile.WriteString(kSession, Name(kSessionFileFormat, i), file.path) && ok;
        ok = profile.WriteInt(kSession, Name(kSessionLineFormat, i), file.line) && ok;
        ok = profile.WriteInt(kSession, Name(kSessionColumnFormat, i), file.column) && ok;
        ok = profile.WriteInt(kSession, Name(kSessionTopLineFormat, i), file.topLine) && ok;
    }
    return ok;
}

bool CLastSession::ReopensAtStart(const quillet::platform::Profile& profile)
{
    return profile.GetInt(settings::kSession, settings::kSessionReopen, 1) != 0;
}

void CLastSession::SetReopensAtStart(quillet::platform::Profile& profile, bool on)
{
    profile.WriteInt(settings::kSession, settings::kSessionReopen, on ? 1 : 0);
}
