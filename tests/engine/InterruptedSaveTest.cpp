// Saves killed part way. A save into the file itself (a file with a second
// name) is killed at each of its steps and at random bytes of the new text:
// what the next start does leaves the file with its old text or its new one,
// never a mix, and offers the text that was being saved from its journal.
// The temporary file of a killed save beside its target is swept, and
// nothing that could be anyone else's is.
#include "ModelSupport.h"

#include "engine/VxEditFileStamp.h"
#include "engine/VxEditInterruptedSaves.h"
#include "engine/VxEditMirrorFile.h"
#include "engine/VxEditRecoveryJournal.h"
#include "engine/VxEditStaleTemporaries.h"
#include "platform/core/MessageSeam.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;
using quillet::platform::MessageAnswer;
using quillet::platform::RecordingMessageSink;

// A mirror file that kills its own process at a step of the save or once it
// has written so many bytes of the new text, as a kill from outside would.
class KillingFile : public VxEditMirrorFile {
public:
    using VxEditMirrorFile::Step;
    struct KillPoint {
        enum class Kind { Never, AtStep, AtByte, FromOutside } kind = Kind::Never;
        Step step = Step::IntentRecorded;
        std::int64_t byte = 0;
        std::string name;
    };

    KillingFile(std::string target, KillPoint point) : VxEditMirrorFile(std::move(target)), point_(std::move(point))
    {}

protected:
    ssize_t WriteSome(int descriptor, const char* bytes, std::size_t length) override
    {
        if (point_.kind == KillPoint::Kind::AtByte) {
            if (written_ >= point_.byte)
                raise(SIGKILL);
            length = std::min<std::size_t>(length, static_cast<std::size_t>(point_.byte - written_));
        }
        const ssize_t count = VxEditMirrorFile::WriteSome(descriptor, bytes, length);
        written_ += count > 0 ? count : 0;
        return count;
    }
    void Reached(Step step) override
    {
        if (point_.kind == KillPoint::Kind::AtStep && step == point_.step)
            raise(SIGKILL);
    }

private:
    KillPoint point_;
    std::int64_t written_ = 0;
};

class KillingModel : public VxEdit {
public:
    KillingFile::KillPoint point;

protected:
    std::unique_ptr<VxEditMirrorFile> CreateMirrorFile(const std::string& target) override
    {
        return std::make_unique<KillingFile>(target, point);
    }
};

using KillPoint = KillingFile::KillPoint;
using Step = KillingFile::Step;

std::int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Lines of Java up to a little more than a journal writes whole, so that the
// journal refers to the file and needs it unchanged.
std::string LargeText()
{
    std::string text;
    for (int line = 0; text.size() <= static_cast<std::size_t>(VxEditRecoveryJournal::kWholeTextLimit) + 200000;
         ++line)
        text += "    int value" + std::to_string(line) + " = " + std::to_string(line * 7) + "; // a line of Java\n";
    return text;
}

// Writes the bytes into the file itself (its other names see them) and
// gives it the same modification time each time.
void ResetFile(const std::string& path, const std::string& bytes)
{
    WriteFileBytes(path, bytes);
    const timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123456789}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, path.c_str(), times, 0));
}

// Saves the model in a child process; its exit status, as waitpid gives it.
int SaveInChild(KillingModel& model, const std::string& target, const std::string& backupFolder)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(model.SaveFile(target) == 1 ? 0 : 1);
    if (model.point.kind == KillPoint::Kind::FromOutside) {
        // Killed as soon as the copy of the old content appears.
        for (;;) {
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child)
                return status;
            bool copying = false;
            for (const auto& entry : fs::directory_iterator(backupFolder))
                copying = copying || entry.path().extension() == ".backup";
            if (copying) {
                kill(child, SIGKILL);
                break;
            }
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

// The names in folder other than journals.
std::vector<std::string> LeftIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".journal")
            names.push_back(entry.path().filename().string());
    }
    return names;
}

// Which of two texts some bytes are, without printing megabytes.
std::string Which(const std::string& bytes, const std::string& old, const std::string& edited)
{
    if (bytes == old)
        return "old";
    if (bytes == edited)
        return "new";
    std::size_t same = 0;
    while (same < bytes.size() && same < edited.size() && bytes[same] == edited[same])
        ++same;
    return "a mix of " + std::to_string(bytes.size()) + " bytes, like the new text up to byte " +
           std::to_string(same);
}

struct EditedText {
    tarrow::foundation::RefPtr<KillingModel> model;
    std::unique_ptr<VxEditRecoveryJournal> journal;
    std::string journalPath;
    std::string text;
};

TEST(InterruptedSave, AKillAtAnyPointLeavesTheOldTextOrTheNewAndOffersTheEditsAgain)
{
    TempDir dir;
    TempDir recovery;
    const std::string backupFolder = recovery.Path().string();
    VxEditMirrorFile::SetBackupFolder(backupFolder);
    const std::string target = dir.File("Big.java");
    const std::string alias = dir.File("Alias.java");
    const std::string old = LargeText();
    ResetFile(target, old);
    fs::create_hard_link(target, alias);
    struct stat original {};
    ASSERT_EQ(0, stat(target.c_str(), &original));
    std::mt19937 random(20240611);

    // One character typed, and one line deleted: a longer and a shorter
    // text, each with the journal a document keeps.
    std::vector<EditedText> edits(2);
    for (std::size_t shape = 0; shape < edits.size(); ++shape) {
        EditedText& edit = edits[shape];
        edit.model = NewModel<KillingModel>();
        const VxEditFileStamp stamp = VxEditFileStamp::Of(target);
        ASSERT_EQ(1, edit.model->LoadFile(target));
        edit.journalPath = backupFolder + "/" + std::to_string(shape) + ".journal";
        edit.journal = std::make_unique<VxEditRecoveryJournal>(*edit.model, edit.journalPath);
        edit.journal->Restart(target, "Big.java", stamp);
        const int line = std::uniform_int_distribution<int>(0, edit.model->LastLine() - 2)(random);
        if (shape == 0)
            edit.model->InsertAtLineCol(line, 4, "x", 1);
        else
            edit.model->DeleteRange(line, 0, line + 1, 0);
        ASSERT_TRUE(edit.journal->Flush());
        edit.text = AllText(*edit.model);
    }

    for (EditedText& edit : edits) {
        const auto length = static_cast<std::int64_t>(edit.text.size());
        std::vector<KillPoint> points = {
            {KillPoint::Kind::AtStep, Step::IntentRecorded, 0, "with the save record on disk, before the copy"},
            {KillPoint::Kind::FromOutside, {}, 0, "from outside, once the copy has begun"},
            {KillPoint::Kind::AtStep, Step::BackedUp, 0, "with the whole copy on disk"},
            {KillPoint::Kind::AtByte, {}, 0, "before the first byte"},
            {KillPoint::Kind::AtStep, Step::TargetWritten, 0, "with the new text whole, before the record says so"},
            {KillPoint::Kind::AtStep, Step::WrittenRecorded, 0, "after the record says the new text is whole"},
            {KillPoint::Kind::Never, {}, 0, "never"},
        };
        for (int i = 0; i < 4; ++i) {
            const std::int64_t byte = std::uniform_int_distribution<std::int64_t>(1, length - 1)(random);
            points.push_back({KillPoint::Kind::AtByte, {}, byte, "after byte " + std::to_string(byte)});
        }
        for (const KillPoint& point : points) {
            SCOPED_TRACE("killed " + point.name);
            ResetFile(target, old);
            edit.model->point = point;
            const int status = SaveInChild(*edit.model, target, backupFolder);
            const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
            if (point.kind == KillPoint::Kind::Never) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
            } else if (point.kind != KillPoint::Kind::FromOutside) {
                EXPECT_TRUE(killed) << status;
            }

            // The next start.
            const std::vector<VxEditInterruptedSaves::Outcome> outcomes = VxEditInterruptedSaves::Settle(backupFolder);
            const bool finished = !killed || (point.kind == KillPoint::Kind::AtStep && point.step == Step::WrittenRecorded);
            const std::string now = Which(ReadFileBytes(target), old, edit.text);
            EXPECT_EQ(finished ? "new" : "old", now);
            struct stat status1 {};
            struct stat status2 {};
            ASSERT_EQ(0, stat(target.c_str(), &status1));
            ASSERT_EQ(0, stat(alias.c_str(), &status2));
            EXPECT_EQ(original.st_ino, status1.st_ino);
            EXPECT_EQ(original.st_ino, status2.st_ino);
            EXPECT_EQ(2u, status1.st_nlink);
            EXPECT_EQ(std::vector<std::string>{}, LeftIn(backupFolder));

            VxEditRecoveryJournal::Contents contents;
            std::string reason;
            const bool offered = VxEditRecoveryJournal::Read(edit.journalPath, contents, reason);
            if (now == "old") {
                // The journal's file is as it was: the edits are offered.
                ASSERT_TRUE(offered) << reason;
                EXPECT_EQ("new", Which(contents.text, old, edit.text));
                // Killed from outside, the save may have got anywhere before
                // the file changed.
                const bool touched = point.kind == KillPoint::Kind::AtByte ||
                                     (point.kind == KillPoint::Kind::AtStep && point.step != Step::IntentRecorded);
                if (touched) {
                    ASSERT_EQ(1u, outcomes.size());
                    EXPECT_EQ(VxEditInterruptedSaves::Outcome::Kind::Restored, outcomes[0].kind);
                    EXPECT_EQ(target, outcomes[0].target);
                    EXPECT_NE(std::string::npos, VxEditInterruptedSaves::Describe(outcomes).find(
                                                     target + ": the save had not finished, so the file's content "
                                                              "from before the save was put back."));
                } else if (point.kind == KillPoint::Kind::AtStep) {
                    EXPECT_TRUE(outcomes.empty());
                }
            } else if (killed) {
                // The file holds all the journal held.
                EXPECT_FALSE(offered);
                ASSERT_EQ(1u, outcomes.size());
                EXPECT_EQ(VxEditInterruptedSaves::Outcome::Kind::Finished, outcomes[0].kind);
                EXPECT_EQ(VxEditFileStamp::Of(target), outcomes[0].after);
            } else {
                EXPECT_TRUE(outcomes.empty());
            }
        }
    }
    VxEditMirrorFile::SetBackupFolder({});
}

TEST(InterruptedSave, AFileInAFolderWeMayNotWriteGetsItsOldTextBackAfterAKill)
{
    QUILLET_RUN_UNPRIVILEGED();
    TempDir dir;
    TempDir recovery;
    VxEditMirrorFile::SetBackupFolder(recovery.Path().string());
    const std::string target = dir.File("Shared.java");
    std::string old;
    while (old.size() < 600000)
        old += "class Shared { int field; }\n";
    ResetFile(target, old);
    auto model = NewModel<KillingModel>();
    ASSERT_EQ(1, model->LoadFile(target));
    VxEditRecoveryJournal journal(*model, recovery.File("shared.journal"));
    journal.Restart(target, "Shared.java", VxEditFileStamp::Of(target));
    model->InsertAtLineCol(0, 0, "// typed\n", 9);
    ASSERT_TRUE(journal.Flush());
    const std::string edited = AllText(*model);
    ASSERT_EQ(0, chmod(dir.Path().c_str(), 0555));

    model->point = {KillPoint::Kind::AtByte, {}, 300001, "in the middle"};
    const int status = SaveInChild(*model, target, recovery.Path().string());
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    const auto outcomes = VxEditInterruptedSaves::Settle(recovery.Path().string());
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ("old", Which(ReadFileBytes(target), old, edited));
    ASSERT_EQ(1u, outcomes.size());
    EXPECT_EQ(VxEditInterruptedSaves::Outcome::Kind::Restored, outcomes[0].kind);
    VxEditRecoveryJournal::Contents contents;
    std::string reason;
    ASSERT_TRUE(VxEditRecoveryJournal::Read(recovery.File("shared.journal"), contents, reason)) << reason;
    EXPECT_EQ("new", Which(contents.text, old, edited));
    EXPECT_EQ(std::vector<std::string>{}, LeftIn(recovery.Path().string()));
    VxEditMirrorFile::SetBackupFolder({});
}

TEST(InterruptedSave, WithoutAPlaceForTheOldContentASaveIntoTheFileAsksFirst)
{
    TempDir dir;
    VxEditMirrorFile::SetBackupFolder({});
    const std::string file = dir.File("Linked.java");
    WriteFileBytes(file, "class Linked {}\n");
    fs::create_hard_link(file, dir.File("Other.java"));
    RecordingMessageSink sink;
    auto model = NewModel();
    model->InsertAtLineCol(0, 0, "// new\n", 7);

    sink.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(0, model->SaveFile(file));
    EXPECT_EQ(std::vector<std::string>{"'" + file +
                                       "' can only be saved by writing into the file itself, and its old content "
                                       "cannot be kept aside while that is done: there is no recovery folder to "
                                       "keep it in. If Quillet is stopped during the save, the file is left half "
                                       "written.\n\nSave into the file anyway?"},
              sink.Texts());
    EXPECT_EQ("class Linked {}\n", ReadFileBytes(file));
    EXPECT_EQ(1, model->IsModified());

    sink.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(1, model->SaveFile(file));
    EXPECT_EQ("// new\n", ReadFileBytes(dir.File("Other.java")));
    EXPECT_EQ(0, model->IsModified());
}

TEST(StaleTemporaries, TheTemporaryOfAKilledSaveGoesAndNothingThatMayBeSomeoneElses)
{
    TempDir dir;
    const std::string folder = dir.Path().string();
    const std::string target = dir.File("Big.java");
    const std::string old(600000, 'o');
    WriteFileBytes(target, old);
    auto model = NewModel<KillingModel>();
    const std::string text(700000, 'n');
    model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    model->point = {KillPoint::Kind::AtByte, {}, 300000, "in the middle"};
    const int status = SaveInChild(*model, target, folder);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(old, ReadFileBytes(target));
    std::string leftover;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (VxEditStaleTemporaries::IsTemporaryName(entry.path().filename().string()))
            leftover = entry.path().filename().string();
    }
    ASSERT_FALSE(leftover.empty());
    EXPECT_EQ(300000u, fs::file_size(dir.File(leftover)));

    // Files a sweep must leave: a user's file that looks like a backup, a
    // temporary that a running save holds, one with a second name, one
    // written after the cut-off, and one of ours in name only, as a folder.
    WriteFileBytes(dir.File(".notes.txt.backup"), "mine");
    WriteFileBytes(dir.File(".Held.java.Ab12Cd.quillet-save"), "being written");
    const int held = open(dir.File(".Held.java.Ab12Cd.quillet-save").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(0, flock(held, LOCK_EX));
    WriteFileBytes(dir.File(".Linked.java.Zz99Yy.quillet-save"), "linked");
    fs::create_hard_link(dir.File(".Linked.java.Zz99Yy.quillet-save"), dir.File("linked-copy"));
    WriteFileBytes(dir.File(".Fresh.java.Qq11Rr.quillet-save"), "fresh");
    const std::int64_t cutoff = NowNs() + 1000000000;
    const timespec later[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(cutoff / 1000000000 + 60), 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, dir.File(".Fresh.java.Qq11Rr.quillet-save").c_str(), later, 0));
    fs::create_directory(dir.File(".Folder.java.Pp22Ss.quillet-save"));

    EXPECT_EQ(1, VxEditStaleTemporaries::Sweep(folder, cutoff));
    close(held);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    EXPECT_EQ((std::set<std::string>{"Big.java", ".notes.txt.backup", ".Held.java.Ab12Cd.quillet-save",
                                     ".Linked.java.Zz99Yy.quillet-save", "linked-copy",
                                     ".Fresh.java.Qq11Rr.quillet-save", ".Folder.java.Pp22Ss.quillet-save"}),
              names);

    // The next save into the folder sweeps what is older than this process.
    WriteFileBytes(dir.File(".Old.java.Mm33Nn.quillet-save"), "left by an earlier run");
    const std::int64_t before = VxEditStaleTemporaries::ProcessStartNs() - 1000000000;
    const timespec earlier[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(before / 1000000000), 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, dir.File(".Old.java.Mm33Nn.quillet-save").c_str(), earlier, 0));
    auto saver = NewModel();
    saver->InsertAtLineCol(0, 0, "class Small {}\n", 15);
    ASSERT_EQ(1, saver->SaveFile(dir.File("Small.java")));
    EXPECT_FALSE(fs::exists(dir.File(".Old.java.Mm33Nn.quillet-save")));
    EXPECT_TRUE(fs::exists(dir.File(".Held.java.Ab12Cd.quillet-save")));
}

}  // namespace
}  // namespace quillet::test
