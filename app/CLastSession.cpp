#include "app/CLastSession.h"

#include "app/SettingsKeys.h"
#include "platform/core/Profile.h"

#include <algorithm>
#include <charconv>
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

// Breakpoint lines as one value: "3,17,42".
std::string LineList(const std::vector<int>& lines)
{
    std::string text;
    for (int line : lines)
        text += (text.empty() ? "" : ",") + std::to_string(line);
    return text;
}

// The lines of a list; a hand-edited entry that is not a line is left out.
std::vector<int> ParseLineList(const std::string& text)
{
    std::vector<int> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find(',', at);
        if (end == std::string::npos)
            end = text.size();
        int line = -1;
        const auto [stop, error] = std::from_chars(text.data() + at, text.data() + end, line);
        if (error == std::errc() && stop == text.data() + end && line >= 0)
            lines.push_back(line);
        at = end + 1;
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
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
        file.breakpoints = ParseLineList(profile.GetString(kSession, Name(kSessionBreakpointsFormat, i), ""));
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
        ok = profile.WriteString(kSession, Name(kSessionBreakpointsFormat, i), LineList(file.breakpoints)) && ok;
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
