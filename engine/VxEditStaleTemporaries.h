#pragma once

#include <cstdint>
#include <string>

// The temporary files that saves write beside their targets, and that a run
// killed during such a save leaves behind. A sweep removes only files that
// are certainly such leftovers: named exactly as saves name them, regular,
// owned by this user, with no other name, last written before a cut-off
// (the start of this process, so that no running save is taken for one),
// and free of the flock that a save holds on its temporary until it is
// renamed over the target.
class VxEditStaleTemporaries {
public:
    static constexpr const char* kSuffix = ".quillet-save";

    // The mkostemps pattern (kSuffix after the X's) of a temporary for the
    // file called name in folder (empty, or ending in '/').
    static std::string PatternFor(const std::string& folder, const std::string& name);
    // ".<name>.XXXXXX.quillet-save", the X's letters and digits.
    static bool IsTemporaryName(const std::string& name);
    // Removes the stale temporaries in folder last written before cutoffNs
    // (nanoseconds since the epoch); returns how many went.
    static int Sweep(const std::string& folder, std::int64_t cutoffNs);
    // Sweeps folder against the start of this process, once per folder:
    // any later leftover there is younger than that.
    static void SweepOnce(const std::string& folder);
    // When this process started, as nanoseconds since the epoch.
    static std::int64_t ProcessStartNs();
};
