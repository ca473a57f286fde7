#include "app/FileAssociation.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using quillet::test::ReadFileBytes;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

TEST(FileAssociation, WritesTheDesktopEntryAndTheDefault)
{
    TempDir dir;
    FileAssociation association(dir.File("data"), dir.File("config"));
    ASSERT_TRUE(association.Register("/opt/my tools/quillet"));
    const std::string entry = ReadFileBytes(dir.File("data/applications/quillet.desktop"));
    EXPECT_NE(entry.find("Exec=\"/opt/my tools/quillet\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("MimeType=text/x-java;\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.File("config/mimeapps.list")),
              "[Default Applications]\ntext/x-java=quillet.desktop\n");
}

TEST(FileAssociation, KeepsOtherEntriesAndReplacesAForeignDefault)
{
    TempDir dir;
    WriteFileBytes(dir.File("mimeapps.list"),
                   "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                   "[Default Applications]\ntext/x-java=other.desktop\ntext/html=firefox.desktop\n");
    FileAssociation association(dir.File("data"), dir.Path().string());
    ASSERT_TRUE(association.Register("/usr/bin/quillet"));
    EXPECT_EQ(ReadFileBytes(dir.File("mimeapps.list")),
              "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
              "[Default Applications]\ntext/x-java=quillet.desktop\ntext/html=firefox.desktop\n");

    WriteFileBytes(dir.File("mimeapps.list"),
                   "[Default Applications]\ntext/html=firefox.desktop\n\n[Added Associations]\n");
    ASSERT_TRUE(association.Register("/usr/bin/quillet"));
    EXPECT_EQ(ReadFileBytes(dir.File("mimeapps.list")),
              "[Default Applications]\ntext/html=firefox.desktop\ntext/x-java=quillet.desktop\n\n"
              "[Added Associations]\n");
}

namespace {

void WriteWithFolders(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFileBytes(path, bytes);
}

// An installation under prefix: the program in lib/quillet/, its desktop
// entry in share/applications/.
std::string InstallUnder(const TempDir& dir, const std::string& prefix)
{
    WriteWithFolders(dir.File(prefix + "/lib/quillet/quillet"), "program");
    WriteWithFolders(dir.File(prefix + "/share/applications/org.tarrowsamples.Quillet.desktop"),
                     "[Desktop Entry]\n");
    return dir.File(prefix + "/lib/quillet/quillet");
}

}  // namespace

TEST(FileAssociation, AnInstalledProgramUsesItsOwnEntryAndWritesNone)
{
    TempDir dir;
    const std::string program = InstallUnder(dir, "usr");
    FileAssociation association(dir.File("data"), dir.File("config"),
                                {dir.File("elsewhere/share"), dir.File("usr/share") + "/"});
    EXPECT_EQ(association.InstalledEntryPath(program),
              dir.File("usr/share/applications/org.tarrowsamples.Quillet.desktop"));
    ASSERT_TRUE(association.Register(program));
    EXPECT_FALSE(std::filesystem::exists(dir.File("data/applications/quillet.desktop")));
    EXPECT_EQ(ReadFileBytes(dir.File("config/mimeapps.list")),
              "[Default Applications]\ntext/x-java=org.tarrowsamples.Quillet.desktop\n");
}

TEST(FileAssociation, AnInstallationInTheUsersDataFolderCounts)
{
    TempDir dir;
    const std::string program = InstallUnder(dir, "home/.local");
    FileAssociation association(dir.File("home/.local/share"), dir.File("config"), {"/nowhere"});
    ASSERT_TRUE(association.Register(program));
    EXPECT_FALSE(std::filesystem::exists(dir.File("home/.local/share/applications/quillet.desktop")));
    EXPECT_EQ(ReadFileBytes(dir.File("config/mimeapps.list")),
              "[Default Applications]\ntext/x-java=org.tarrowsamples.Quillet.desktop\n");
}

TEST(FileAssociation, AnEntryTheDesktopDoesNotReadIsNotUsed)
{
    // Installed under a prefix whose share/ is no data dir: the desktop would
    // not find that entry, so the per-user one is written.
    TempDir dir;
    const std::string program = InstallUnder(dir, "opt/quillet");
    FileAssociation association(dir.File("data"), dir.File("config"), {dir.File("usr/share")});
    EXPECT_EQ(association.InstalledEntryPath(program), "");
    ASSERT_TRUE(association.Register(program));
    EXPECT_NE(ReadFileBytes(dir.File("data/applications/quillet.desktop"))
                  .find("Exec=" + program + " %f\n"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.File("config/mimeapps.list")),
              "[Default Applications]\ntext/x-java=quillet.desktop\n");
}

TEST(FileAssociation, AnotherInstallationsEntryIsNotThisProgramsOwn)
{
    // A program run from its build folder while another Quillet is installed
    // associates the program that runs.
    TempDir dir;
    InstallUnder(dir, "usr");
    const std::string built = dir.File("src/build/bin/quillet");
    WriteWithFolders(built, "program");
    FileAssociation association(dir.File("data"), dir.File("config"), {dir.File("usr/share")});
    EXPECT_EQ(association.InstalledEntryPath(built), "");
    ASSERT_TRUE(association.Register(built));
    EXPECT_TRUE(std::filesystem::exists(dir.File("data/applications/quillet.desktop")));
    EXPECT_EQ(ReadFileBytes(dir.File("config/mimeapps.list")),
              "[Default Applications]\ntext/x-java=quillet.desktop\n");
}

TEST(FileAssociation, OnceInstalledTheEntryOfAnEarlierRunGoesAndAChangedOneStays)
{
    TempDir dir;
    const std::string program = InstallUnder(dir, "usr");
    FileAssociation association(dir.File("data"), dir.File("config"), {dir.File("usr/share")});

    // Written when Quillet ran from a build folder with blanks in its path.
    FileAssociation(dir.File("data"), dir.File("config"), {dir.File("usr/share")})
        .Register(dir.File("my build/bin/quillet"));
    ASSERT_TRUE(std::filesystem::exists(dir.File("data/applications/quillet.desktop")));
    ASSERT_TRUE(association.Register(program));
    EXPECT_FALSE(std::filesystem::exists(dir.File("data/applications/quillet.desktop")));
    EXPECT_EQ(ReadFileBytes(dir.File("config/mimeapps.list")),
              "[Default Applications]\ntext/x-java=org.tarrowsamples.Quillet.desktop\n");

    // An entry of that name that the user edited is the user's.
    FileAssociation(dir.File("data"), dir.File("config"), {dir.File("usr/share")})
        .Register("/home/me/quillet/build/bin/quillet");
    const std::string edited =
        ReadFileBytes(dir.File("data/applications/quillet.desktop")) + "NoDisplay=true\n";
    WriteFileBytes(dir.File("data/applications/quillet.desktop"), edited);
    ASSERT_TRUE(association.Register(program));
    EXPECT_EQ(ReadFileBytes(dir.File("data/applications/quillet.desktop")), edited);
}

TEST(FileAssociation, TheDataDirsComeFromTheEnvironment)
{
    TempDir dir;
    const std::string program = InstallUnder(dir, "usr");
    const char* saved = std::getenv("XDG_DATA_DIRS");
    const std::string before = saved ? saved : "";
    ::setenv("XDG_DATA_DIRS", ("relative/share::" + dir.File("usr/share")).c_str(), 1);
    const FileAssociation fromList(dir.File("data"), dir.File("config"));
    ::setenv("XDG_DATA_DIRS", "", 1);
    const FileAssociation fromDefault(dir.File("data"), dir.File("config"));
    if (saved)
        ::setenv("XDG_DATA_DIRS", before.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_DIRS");
    EXPECT_NE(fromList.InstalledEntryPath(program), "");
    EXPECT_EQ(fromDefault.InstalledEntryPath(program), "");  // /usr/local/share and /usr/share
}
