#pragma once

#include "engine/VxEditFileStamp.h"
#include "engine/VxEditInterruptedSaves.h"

#include <ctime>
#include <string>
#include <vector>

// The folder of recovery records ($XDG_STATE_HOME/Quillet/recovery): each
// running instance holds a lock on an owner file of its own for as long as it
// runs and names its documents' journals after it. The journals of an owner
// whose lock is free belong to a run that ended without closing them (a
// crash, a kill, a power loss); they are offered at the next start, and
// the lock taken while offering them keeps a second instance from taking
// the same records. Saves into the file itself keep their records and the
// copies of the old content here too (VxEditSaveIntent).
class CRecoveryStore {
public:
    // A journal left by a run that is over.
    struct Orphan {
        std::string journalPath;
        std::time_t changed = 0;
    };

    // directory empty: $XDG_STATE_HOME/Quillet/recovery (default
    // ~/.local/state/Quillet/recovery). The folder is made private to the
    // user (0700) when missing, and refused when it is not the user's.
    explicit CRecoveryStore(std::string directory = {});
    ~CRecoveryStore();
    CRecoveryStore(const CRecoveryStore&) = delete;
    CRecoveryStore& operator=(const CRecoveryStore&) = delete;

    bool IsUsable() const { return lock_ >= 0; }
    // Why the folder cannot be used, when it cannot.
    const std::string& Problem() const { return problem_; }
    const std::string& Directory() const { return directory_; }
    // A journal name of this instance's, new each time.
    std::string NewJournalPath();

    // The journals of owners that no longer run, oldest first; their owners'
    // locks are held from now on.
    std::vector<Orphan> TakeOrphans();
    // Deletes the taken journals and their owners' files.
    void DiscardOrphans();
    // Leaves the taken journals for a later start.
    void ReleaseOrphans();

    // Puts right the files whose save into the file itself a run that
    // ended left unfinished; to be done before any document reads them.
    // Returns what was done, for the user.
    std::vector<VxEditInterruptedSaves::Outcome> SettleInterruptedSaves();
    // The file at path holds the whole text of such a save: a journal made
    // against its content from before that save holds nothing the file lacks.
    bool WasSavedWhole(const std::string& path) const;

private:
    std::string directory_;
    std::string owner_;
    std::string problem_;
    int lock_ = -1;
    int journals_ = 0;
    // Owner files taken by TakeOrphans, with their open locks.
    std::vector<std::pair<std::string, int>> taken_;
    std::vector<Orphan> orphans_;
    // The files as the finished saves that SettleInterruptedSaves found left them.
    std::vector<VxEditFileStamp> savedWhole_;
};
