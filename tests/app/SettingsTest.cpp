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

#include "app/LanguageRegistration.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"

#include <filesystem>

TEST(LanguageRegistration, JavaIniBesideTheProgramWinsOverTheOneAbove)
{
    TempDir dir;
    const std::string program = dir.File("bin") + "/";
    const std::string user = dir.File("settings") + "/";
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(user);
    EXPECT_EQ(JavaIniReadPath(program, user), program + "../java.ini");
    WriteFileBytes(dir.File("java.ini"), "[Editor]\nTabSize=3\n");
    EXPECT_EQ(JavaIniReadPath(program, user), program + "../java.ini");
    WriteFileBytes(program + "java.ini", "[Editor]\nTabSize=5\n");
    EXPECT_EQ(JavaIniReadPath(program, user), program + "java.ini");
    WriteFileBytes(user + "java.ini", "[Editor]\nTabSize=7\n");
    EXPECT_EQ(JavaIniReadPath(program, user), user + "java.ini");
}

TEST(LanguageRegistration, JavaAndHtmlAreReadFromTheirStores)
{
    TempDir dir;
    const std::string program = dir.File("bin") + "/";
    std::filesystem::create_directories(program);
    WriteFileBytes(dir.File("java.ini"), "[Editor]\nTabSize=3\n");
    quillet::platform::MemoryProfile profile;
    profile.WriteInt("HTML\\Editor", "TabSize", 6);

    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    registry.Reset();
    RegisterLanguages(profile, program, dir.File("settings") + "/");
    VxEditLangConfig* java = registry.Get("Java");
    ASSERT_NE(java, nullptr);
    EXPECT_EQ(java->GetTabSize(), 3);
    VxEditLangConfig* html = registry.Get("HTML");
    ASSERT_NE(html, nullptr);
    EXPECT_EQ(html->GetTabSize(), 6);
    EXPECT_EQ(html->GetColorGroupCount(), 8);

    // Changes to Java go to the user's own copy.
    java->SetTabSize(2);
    EXPECT_EQ(registry.Save("Java"), 1);
    java->SetTabSize(9);
    registry.Reset();
    RegisterLanguages(profile, program, dir.File("settings") + "/");
    EXPECT_EQ(registry.Get("Java")->GetTabSize(), 2);
    registry.Reset();
}

TEST(LanguageRegistration, JavaScriptIsReadFromItsIniAndSavedToTheUsersCopy)
{
    TempDir dir;
    const std::string program = dir.File("bin") + "/";
    const std::string user = dir.File("settings") + "/";
    std::filesystem::create_directories(program);
    std::filesystem::copy_file(QUILLET_PROGRAM_DIR "javascript.ini", program + "javascript.ini");
    quillet::platform::MemoryProfile profile;

    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    registry.Reset();
    RegisterLanguages(profile, program, user);
    VxEditLangConfig* script = registry.Get("JavaScript");
    ASSERT_NE(script, nullptr);
    int group = -1;
    EXPECT_EQ(script->LookupKeyword("typeof", 6, group), 6);
    EXPECT_EQ(script->GetColorGroupName(group), "Keyword");
    const int regex = script->FindColorGroup("Regex");
    ASSERT_GE(regex, 0);
    EXPECT_EQ(script->GetAutoIndent(), 1);

    // A colour changed in the dialog is kept in the user's javascript.ini.
    script->GetColorGroup(regex)->Foreground = 0x00123456;
    EXPECT_EQ(registry.Save("JavaScript"), 1);
    EXPECT_TRUE(std::filesystem::exists(user + "javascript.ini"));
    registry.Reset();
    RegisterLanguages(profile, program, user);
    script = registry.Get("JavaScript");
    EXPECT_EQ(script->GetColorGroup(script->FindColorGroup("Regex"))->Foreground, 0x00123456u);
    registry.Reset();
}
