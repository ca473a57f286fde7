#include "engine/VxEditInterruptedSaves.h"

#include "engine/VxEditBackupCopy.h"
#include "engine/VxEditSaveIntent.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The file was being written: its old content goes back, unless it is no
// longer the file the save wrote into.
VxEditInterruptedSaves::Outcome Restore(const VxEditSaveIntent::Record& record, const std::string& backup)
{
    VxEditInterruptedSaves::Outcome outcome;
    outcome.kind = VxEditInterruptedSaves::Outcome::Kind::NotRestored;
    outcome.target = record.target;
    outcome.backup = backup;
    const VxEditFileStamp now = VxEditFileStamp::Of(record.target);
    if (!now.exists || now.device != record.before.device || now.inode != record.before.inode) {
        outcome.reason = "it was replaced or removed since";
        return outcome;
    }
    const int target = open(record.target.c_str(), O_WRONLY | O_CLOEXEC);
    if (target < 0 || !VxEditBackupCopy::PutBack(backup, record.length, record.before.modifiedNs, target)) {
        outcome.reason = std::strerror(errno);
        if (target >= 0)
            close(target);
        return outcome;
    }
    close(target);
    unlink(backup.c_str());
    outcome.kind = VxEditInterruptedSaves::Outcome::Kind::Restored;
    outcome.backup.clear();
    return outcome;
}

}  // namespace

std::vector<VxEditInterruptedSaves::Outcome> VxEditInterruptedSaves::Settle(const std::string& folder)
{
    std::vector<Outcome> outcomes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        if (!EndsWith(path, VxEditSaveIntent::kSuffix))
            continue;
        const int descriptor = open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (descriptor < 0)
            continue;
        struct stat status {};
        // A save that runs holds its record's lock; one that ended since
        // removed the record.
        if (flock(descriptor, LOCK_EX | LOCK_NB) != 0 || fstat(descriptor, &status) != 0 ||
            !S_ISREG(status.st_mode) || status.st_nlink == 0) {
            close(descriptor);
            continue;
        }
        const std::string backup = VxEditSaveIntent::BackupFor(path);
        VxEditSaveIntent::Record record;
        if (!VxEditSaveIntent::Read(descriptor, record)) {
            // Cut short before its header was whole: nothing was touched.
            unlink(backup.c_str());
        } else {
            switch (record.stage) {
            case VxEditSaveIntent::Stage::Started:
            case VxEditSaveIntent::Stage::Restored:
                unlink(backup.c_str());
                break;
            case VxEditSaveIntent::Stage::Written: {
                unlink(backup.c_str());
                Outcome outcome;
                outcome.kind = Outcome::Kind::Finished;
                outcome.target = record.target;
                outcome.after = VxEditFileStamp::Of(record.target);
                outcomes.push_back(outcome);
                break;
            }
            case VxEditSaveIntent::Stage::BackedUp:
                outcomes.push_back(Restore(record, backup));
                break;
            }
        }
        // Removed while locked, so that no other start settles it again.
        unlink(path.c_str());
        close(descriptor);
    }
    return outcomes;
}

std::string VxEditInterruptedSaves::Describe(const std::vector<Outcome>& outcomes)
{
    if (outcomes.empty())
        return {};
    std::string text = "Quillet ended while it was saving into these files:\n";
    bool restored = false;
    for (const Outcome& outcome : outcomes) {
        text += "\n" + outcome.target + ": ";
        switch (outcome.kind) {
        case Outcome::Kind::Restored:
            text += "the save had not finished, so the file's content from before the save was put back.";
            restored = true;
            break;
        case Outcome::Kind::Finished:
            text += "the save had finished; the file holds the new text.";
            break;
        case Outcome::Kind::NotRestored:
            text += "the save had not finished, and the file's content from before the save could not be "
                    "put back (" + outcome.reason + "). The file may be half written; its old content is kept in " +
                    outcome.backup + ".";
            break;
        }
    }
    if (restored)
        text += "\n\nChanges that were not saved are offered for recovery next.";
    return text;
}
