// Saving changes a file's text and nothing else it is: its other names (hard
// links), owner, group, mode, extended attributes and ACLs stay, whichever
// way the save goes, and a save that fails leaves the old text in place.
#include "ModelSupport.h"

#include "engine/VxEditMirrorFile.h"
#include "platform/core/MessageSeam.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;
using quillet::platform::RecordingMessageSink;

struct stat StatOf(const std::string& path)
{
    struct stat status {};
    EXPECT_EQ(0, stat(path.c_str(), &status)) << path;
    return status;
}

std::size_t EntriesIn(const std::string& folder)
{
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++entries;
    return entries;
}

std::string Attribute(const std::string& path, const char* name)
{
    char value[256];
    const ssize_t size = getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? std::string("<none>") : std::string(value, static_cast<std::size_t>(size));
}

// An access ACL in the kernel's form: the owner rw-, the user "nobody" r--,
// the group r--, the mask r--, others ---.
std::string AccessAcl(uid_t reader)
{
    std::string acl;
    const auto add32 = [&acl](std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            acl += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const auto entry = [&](std::uint16_t tag, std::uint16_t permissions, std::uint32_t id) {
        acl += static_cast<char>(tag & 0xFF);
        acl += static_cast<char>(tag >> 8);
        acl += static_cast<char>(permissions & 0xFF);
        acl += static_cast<char>(permissions >> 8);
        add32(id);
    };
    add32(2);  // version
    entry(0x01, 6, 0xFFFFFFFF);
    entry(0x02, 4, reader);
    entry(0x04, 4, 0xFFFFFFFF);
    entry(0x10, 4, 0xFFFFFFFF);
    entry(0x20, 0, 0xFFFFFFFF);
    return acl;
}

// A 64 KiB file system of its own at path, where we may mount one (as root).
class SmallFileSystem {
public:
    explicit SmallFileSystem(std::string path) : path_(std::move(path))
    {
        fs::create_directory(path_);
        mounted_ = mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            umount(path_.c_str());
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool Mounted() const { return mounted_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool mounted_ = false;
};

// Each test keeps in-place backups in a folder of its own, to see that none
// is left behind.
class SaveKeepsFile : public ::testing::Test {
protected:
    void SetUp() override { VxEditMirrorFile::SetBackupFolder(backups_.Path().string()); }
    void TearDown() override
    {
        EXPECT_EQ(0u, EntriesIn(backups_.Path().string())) << "a backup was left behind";
        VxEditMirrorFile::SetBackupFolder({});
    }

    int Save(const std::string& path, const std::string& text)
    {
        model_ = NewModel();
        model_->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
        return model_->SaveFile(path);
    }

    TempDir dir_;
    TempDir backups_;
    RecordingMessageSink sink_;
    tarrow::foundation::RefPtr<VxEdit> model_;
};

TEST_F(SaveKeepsFile, EveryHardLinkSeesTheNewText)
{
    const std::string a = dir_.File("A.java");
    const std::string b = dir_.File("B.java");
    WriteFileBytes(a, "class A {}\n");
    fs::create_hard_link(a, b);
    const ino_t inode = StatOf(a).st_ino;

    ASSERT_EQ(1, Save(a, "class A { int x; }\n"));
    EXPECT_EQ("class A { int x; }\n", ReadFileBytes(b));
    EXPECT_EQ(inode, StatOf(a).st_ino);
    EXPECT_EQ(inode, StatOf(b).st_ino);
    EXPECT_EQ(2u, StatOf(a).st_nlink);
    // A shorter text leaves no tail of the longer one.
    ASSERT_EQ(1, Save(b, "x"));
    EXPECT_EQ("x", ReadFileBytes(a));
    EXPECT_EQ(2u, EntriesIn(dir_.Path().string()));
    EXPECT_EQ(std::vector<std::string>{}, sink_.Texts());
}

TEST_F(SaveKeepsFile, OwnerGroupAndModeOfAnotherUsersFileStay)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const passwd* nobody = getpwnam("nobody");
    const group* nogroup = getgrnam("nogroup");
    if (!nobody || !nogroup)
        GTEST_SKIP() << "no user 'nobody' or group 'nogroup'";
    const std::string file = dir_.File("Theirs.java");
    WriteFileBytes(file, "old");
    ASSERT_EQ(0, chown(file.c_str(), nobody->pw_uid, nogroup->gr_gid));
    ASSERT_EQ(0, chmod(file.c_str(), 0640));

    ASSERT_EQ(1, Save(file, "new"));
    const struct stat after = StatOf(file);
    EXPECT_EQ("new", ReadFileBytes(file));
    EXPECT_EQ(nobody->pw_uid, after.st_uid);
    EXPECT_EQ(nogroup->gr_gid, after.st_gid);
    EXPECT_EQ(0640u, after.st_mode & 07777);
}

TEST_F(SaveKeepsFile, ExtendedAttributesAndTheAclStay)
{
    const std::string file = dir_.File("Noted.java");
    WriteFileBytes(file, "old");
    if (setxattr(file.c_str(), "user.note", "reviewed", 8, 0) != 0)
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    const passwd* nobody = getpwnam("nobody");
    const std::string acl = AccessAcl(nobody ? nobody->pw_uid : 65534);
    ASSERT_EQ(0, setxattr(file.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0))
        << std::strerror(errno);
    const std::string aclAsSet = Attribute(file, "system.posix_acl_access");
    const mode_t mode = StatOf(file).st_mode & 07777;

    ASSERT_EQ(1, Save(file, "new"));
    EXPECT_EQ("new", ReadFileBytes(file));
    EXPECT_EQ("reviewed", Attribute(file, "user.note"));
    EXPECT_EQ(aclAsSet, Attribute(file, "system.posix_acl_access"));
    EXPECT_EQ(mode, StatOf(file).st_mode & 07777);
}

TEST_F(SaveKeepsFile, AWritableFileInAFolderWeMayNotWriteIsSavedInPlace)
{
    QUILLET_RUN_UNPRIVILEGED();
    const std::string file = dir_.File("Shared.java");
    WriteFileBytes(file, "old text that is longer");
    ASSERT_EQ(0, chmod(dir_.Path().c_str(), 0555));
    const ino_t inode = StatOf(file).st_ino;

    const int saved = Save(file, "new text");
    chmod(dir_.Path().c_str(), 0755);
    ASSERT_EQ(1, saved) << ::testing::PrintToString(sink_.Texts());
    EXPECT_EQ("new text", ReadFileBytes(file));
    EXPECT_EQ(inode, StatOf(file).st_ino);
    EXPECT_EQ(0, model_->IsModified());
}

// Writes a few bytes, then reports a full disk.
class FullDiskFile : public VxEditMirrorFile {
public:
    using VxEditMirrorFile::VxEditMirrorFile;

protected:
    ssize_t WriteSome(int descriptor, const char* bytes, std::size_t length) override
    {
        if (written_ >= 4) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t some = std::min<std::size_t>(length, 4);
        written_ += some;
        return VxEditMirrorFile::WriteSome(descriptor, bytes, some);
    }

private:
    std::size_t written_ = 0;
};

class FullDiskModel : public VxEdit {
protected:
    std::unique_ptr<VxEditMirrorFile> CreateMirrorFile(const std::string& target) override
    {
        return std::make_unique<FullDiskFile>(target);
    }
};

TEST_F(SaveKeepsFile, AFullDiskDuringAnInPlaceSavePutsTheOldTextBack)
{
    const std::string file = dir_.File("Linked.java");
    WriteFileBytes(file, "old contents");
    fs::create_hard_link(file, dir_.File("Other.java"));

    model_ = NewModel<FullDiskModel>();
    model_->InsertAtLineCol(0, 0, "much newer contents", 19);
    EXPECT_EQ(0, model_->SaveFile(file));
    EXPECT_EQ((std::vector<std::string>{"The disk is full while accessing '" + file + "'."}), sink_.Texts());
    EXPECT_EQ("old contents", ReadFileBytes(file));
    EXPECT_EQ("old contents", ReadFileBytes(dir_.File("Other.java")));
    EXPECT_EQ(1, model_->IsModified());
}

// The same on a real, small file system, where we may mount one.
TEST_F(SaveKeepsFile, AFullTmpfsDuringAnInPlaceSavePutsTheOldTextBack)
{
    const SmallFileSystem small(dir_.File("small"));
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const std::string& mountPoint = small.Path();
    const std::string file = mountPoint + "/Big.java";
    const std::string old(20000, 'o');
    WriteFileBytes(file, old);
    fs::create_hard_link(file, mountPoint + "/Alias.java");

    const std::string text(40000, 'z');
    EXPECT_EQ(0, Save(file, text + "\n" + text + "\n" + text));
    EXPECT_EQ(old, ReadFileBytes(file));
    EXPECT_EQ(old, ReadFileBytes(mountPoint + "/Alias.java"));
    EXPECT_EQ((std::vector<std::string>{"The disk is full while accessing '" + file + "'."}), sink_.Texts());
}

TEST(SaveFailures, FullDiskKeepsTheOldFileAndTheModifiedFlag)
{
    TempDir dir;
    const std::string target = dir.File("Full.java");
    WriteFileBytes(target, "old contents");
    RecordingMessageSink sink;
    auto model = NewModel<FullDiskModel>();
    model->InsertAtLineCol(0, 0, "much newer contents", 19);
    EXPECT_EQ(0, model->SaveFile(target));
    EXPECT_EQ((std::vector<std::string>{"The disk is full while accessing '" + target + "'."}), sink.Texts());
    EXPECT_EQ("old contents", ReadFileBytes(target));
    EXPECT_EQ(1, model->IsModified());
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(1, entries);
}

// The same on a real, small file system, where we may mount one.
TEST(SaveFailures, FullTmpfsKeepsTheOldFile)
{
    TempDir dir;
    const SmallFileSystem small(dir.File("small"));
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const std::string& mountPoint = small.Path();
    const std::string target = mountPoint + "/Big.java";
    WriteFileBytes(target, "old");
    RecordingMessageSink sink;
    auto model = NewModel();
    const std::string text(40000, 'z');
    model->InsertAtLineCol(0, 0, (text + "\n" + text).c_str(), -1);
    EXPECT_EQ(0, model->SaveFile(target));
    EXPECT_EQ("old", ReadFileBytes(target));
    EXPECT_EQ((std::vector<std::string>{"The disk is full while accessing '" + target + "'."}), sink.Texts());
}

}  // namespace
}  // namespace quillet::test
