#include "app/FileAssociation.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

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
