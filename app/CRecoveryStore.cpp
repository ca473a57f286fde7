#include "app/CRecoveryStore.h"

#include "platform/core/PrivateFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockSuffix = ".owner";
constexpr const char* kJournalSuffix = ".journal";

std::string DefaultDirectory()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/')
        return std::string(state) + "/Quillet/recovery";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/state/Quillet/recovery";
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

CRecoveryStore::CRecoveryStore(std::string directory)
    : directory_(directory.empty() ? DefaultDirectory() : std::move(directory))
{
    // The journals hold the user's unsaved text: nobody else may read them.
    if (!quillet::platform::MakePrivateFolder(directory_, &problem_))
        return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    owner_ = std::to_string(getpid()) + "-" +
             std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    const std::string lockPath = directory_ + "/" + owner_ + kLockSuffix;
    lock_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock_ >= 0 && flock(lock_, LOCK_EX | LOCK_NB) != 0) {
        close(lock_);
        lock_ = -1;
    }
}

CRecoveryStore::~CRecoveryStore()
{
    ReleaseOrphans();
    if (lock_ >= 0) {
        // The documents have removed their journals by now; what is left of
        // this owner would never be offered, being the run's own.
        unlink((directory_ + "/" + owner_ + kLockSuffix).c_str());
        close(lock_);
    }
}

std::string CRecoveryStore::NewJournalPath()
{
    return directory_ + "/" + owner_ + "-" + std::to_string(++journals_) + kJournalSuffix;
}

std::vector<CRecoveryStore::Orphan> CRecoveryStore::TakeOrphans()
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory_, error)) {
        const std::string name = entry.path().filename().string();
        if (!EndsWith(name, kLockSuffix) || name == owner_ + kLockSuffix)
            continue;
        const int lock = open(entry.path().c_str(), O_RDWR | O_CLOEXEC);
        if (lock < 0)
            continue;
        // A lock held by a running instance is refused at once.
        if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
            close(lock);
            continue;
        }
        taken_.emplace_back(entry.path().string(), lock);
        const std::string prefix = name.substr(0, name.size() - std::string(kLockSuffix).size()) + "-";
        for (const auto& journal : fs::directory_iterator(directory_, error)) {
            const std::string journalName = journal.path().filename().string();
            if (journalName.rfind(prefix, 0) != 0)
                continue;
            if (!EndsWith(journalName, kJournalSuffix)) {
                // A journal that was being started when its run ended.
                fs::remove(journal.path(), error);
                continue;
            }
            struct stat status {};
            Orphan orphan;
            orphan.journalPath = journal.path().string();
            if (stat(orphan.journalPath.c_str(), &status) == 0)
                orphan.changed = status.st_mtime;
            orphans_.push_back(orphan);
        }
    }
    std::sort(orphans_.begin(), orphans_.end(),
              [](const Orphan& a, const Orphan& b) { return a.changed < b.changed; });
    return orphans_;
}

void CRecoveryStore::DiscardOrphans()
{
    for (const Orphan& orphan : orphans_)
        unlink(orphan.journalPath.c_str());
    orphans_.clear();
    for (const auto& [path, lock] : taken_) {
        unlink(path.c_str());
        close(lock);
    }
    taken_.clear();
}

void CRecoveryStore::ReleaseOrphans()
{
    orphans_.clear();
    for (const auto& [path, lock] : taken_)
        close(lock);
    taken_.clear();
}

std::vector<VxEditInterruptedSaves::Outcome> CRecoveryStore::SettleInterruptedSaves()
{
    if (!IsUsable())
        return {};
    std::vector<VxEditInterruptedSaves::Outcome> outcomes = VxEditInterruptedSaves::Settle(directory_);
    for (const VxEditInterruptedSaves::Outcome& outcome : outcomes) {
        if (outcome.kind == VxEditInterruptedSaves::Outcome::Kind::Finished && outcome.after.exists)
            savedWhole_.push_back(outcome.after);
    }
    return outcomes;
}

bool CRecoveryStore::WasSavedWhole(const std::string& path) const
{
    const VxEditFileStamp now = VxEditFileStamp::Of(path);
    return now.exists && std::find(savedWhole_.begin(), savedWhole_.end(), now) != savedWhole_.end();
}
