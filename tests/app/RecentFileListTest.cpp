#include "app/RecentFileList.h"
#include "platform/core/MemoryProfile.h"

#include <gtest/gtest.h>

TEST(RecentFileList, KeepsTwelveNewestFirstWithoutDuplicates)
{
    RecentFileList list;
    for (int i = 0; i < 14; ++i)
        list.Add("/src/File" + std::to_string(i) + ".java");
    list.Add("/src/File5.java");
    ASSERT_EQ(list.Paths().size(), 12u);
    EXPECT_EQ(list.Paths()[0], "/src/File5.java");
    EXPECT_EQ(list.Paths()[1], "/src/File13.java");
    EXPECT_EQ(list.Paths()[11], "/src/File2.java");

    quillet::platform::MemoryProfile profile;
    ASSERT_TRUE(list.Save(profile));
    EXPECT_EQ(profile.GetString("Recent File List", "File1", ""), "/src/File5.java");
    EXPECT_EQ(profile.GetString("Recent File List", "File12", ""), "/src/File2.java");
    RecentFileList again;
    again.Load(profile);
    EXPECT_EQ(again.Paths(), list.Paths());
}

TEST(RecentFileList, MenuNamesAreShortenedToThirtyCharacters)
{
    EXPECT_EQ(AbbreviatePath("/src/Hello.java", 30), "/src/Hello.java");
    EXPECT_EQ(AbbreviatePath("/home/someone/projects/quillet/src/app/Hello.java", 30),
              "/.../src/app/Hello.java");
    EXPECT_EQ(AbbreviatePath("/home/AVeryLongFileNameThatDoesNotFit.java", 30),
              "AVeryLongFileNameThatDoesNotFi");
    RecentFileList list;
    list.Add("/tmp/R&D/Hello.java");
    EXPECT_EQ(list.MenuText(0), "&1 /tmp/R&&D/Hello.java");
    for (const char* path : {"/a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p/q/r/s/t/Main.java",
                             "relative/folder/with/many/parts/Program.java"})
        EXPECT_LE(AbbreviatePath(path, 30).size(), 30u) << path;
}
