#include "app/CScrivoSettings.h"
#include "platform/core/MemoryProfile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

TEST(WordLists, EveryLineIsAnEntryExactlyAsWritten)
{
    TempDir dir;
    WriteFileBytes(dir.File("Extends.ini"), "Object\n  JFrame\n\n");
    WriteFileBytes(dir.File("Throws.ini"), "IOException\r\nException");
    WriteFileBytes(dir.File("Vartypes.ini"), "int\nint\n");
    // Implements.ini is missing.
    CScrivoSettings settings;
    settings.implementsList = {"stale"};
    settings.Load(quillet::platform::MemoryProfile(), dir.Path().string() + "/");
    EXPECT_EQ(settings.extendsList, (WordList{"Object", "  JFrame", ""}));
    EXPECT_EQ(settings.throwsList, (WordList{"IOException", "Exception"}));
    EXPECT_EQ(settings.varTypesList, (WordList{"int", "int"}));
    EXPECT_TRUE(settings.implementsList.empty());
}

TEST(ToolSettings, DefaultsApplyAndTheExitValuesAreWrittenBack)
{
    quillet::platform::MemoryProfile profile;
    CScrivoSettings settings;
    settings.Load(profile, "/opt/quillet/");
    EXPECT_EQ(settings.compilerArgs, "");
    EXPECT_EQ(settings.compileAutoSave, 1);
    EXPECT_EQ(settings.outputToolPath, "/opt/quillet/Output");
    EXPECT_EQ(settings.helpPath, "/opt/quillet/QuilletHelp/Welcome.htm");

    settings.compilerArgs = "-g -Xlint:all";
    settings.compileAutoSave = 0;
    ASSERT_TRUE(settings.SaveAtExit(profile));
    CScrivoSettings next;
    next.Load(profile, "/opt/quillet/");
    EXPECT_EQ(next.compilerArgs, "-g -Xlint:all");
    EXPECT_EQ(next.compileAutoSave, 0);
}

TEST(ToolSettings, CommandInterpreterComesFromTheEnvironment)
{
    CScrivoSettings settings;
    setenv("COMSPEC", "/bin/bash  \t", 1);
    settings.ReadCommandInterpreter();
    EXPECT_EQ(settings.comspecPath, "/bin/bash");
    unsetenv("COMSPEC");
    setenv("SHELL", std::string(300, 'z').c_str(), 1);
    settings.ReadCommandInterpreter();
    EXPECT_EQ(settings.comspecPath, std::string(255, 'z'));
    unsetenv("SHELL");
    settings.ReadCommandInterpreter();
    EXPECT_EQ(settings.comspecPath, "/bin/sh");
}
