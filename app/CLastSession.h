#pragma once

#include <string>
#include <vector>

namespace quillet::platform {
class Profile;
}

// The documents open at the last exit, kept under "Session": each file's
// path, caret line and column, first visible line and breakpoint lines, in
// window order, and which one was active. A plain start reopens them while
// "ReopenAtStart" is on (the default).
class CLastSession {
public:
    struct File {
        std::string path;
        int line = 0;
        int column = 0;
        int topLine = 0;
        // 0-based lines in ascending order.
        std::vector<int> breakpoints;

        bool operator==(const File&) const = default;
    };

    std::vector<File> files;
    // Index into files; -1 when none was active.
    int active = -1;

    bool operator==(const CLastSession&) const = default;

    static CLastSession Read(const quillet::platform::Profile& profile);
    // Replaces what was kept; false when the store refused a value.
    bool Write(quillet::platform::Profile& profile) const;

    static bool ReopensAtStart(const quillet::platform::Profile& profile);
    static void SetReopensAtStart(quillet::platform::Profile& profile, bool on);
};
