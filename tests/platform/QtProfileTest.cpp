#include "platform/qt/QtProfile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using quillet::platform::QtProfile;

TEST(QtProfile, ValuesSurviveReopeningTheStore)
{
    quillet::test::TempDir dir;
    const QString file = QString::fromStdString(dir.File("Quillet.conf"));
    {
        QtProfile profile(file);
        EXPECT_TRUE(profile.WriteString("Tools", "CompilerArgs", "-g -Xlint"));
        EXPECT_TRUE(profile.WriteInt("Recent File List", "File1", 42));
        EXPECT_TRUE(profile.WriteString("HTML\\Color Groups\\Text", "Foreground", "0,0,255"));
    }
    QtProfile profile(file);
    EXPECT_EQ(profile.GetString("Tools", "CompilerArgs", ""), "-g -Xlint");
    EXPECT_EQ(profile.GetInt("Recent File List", "File1", 0), 42);
    EXPECT_TRUE(profile.Has("HTML\\Color Groups\\Text", "Foreground"));
    EXPECT_EQ(profile.GetString("HTML\\Color Groups\\Text\\", "Foreground", ""), "0,0,255");
    EXPECT_EQ(profile.GetInt("Tools", "CompileAutoSave", 1), 1);
    EXPECT_EQ(profile.GetString("Tools", "Applet Viewer", "<NONE>"), "<NONE>");
}
