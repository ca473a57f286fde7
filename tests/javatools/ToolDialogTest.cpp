#include "app/SettingsKeys.h"
#include "javatools/build/JavaToolLocator.h"
#include "javatools/tooldialogs/CCompileDialog.h"
#include "javatools/tooldialogs/CJViewDialog.h"
#include "javatools/tooldialogs/CToolsDialog.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using quillet::platform::RecordingMessageSink;
using Texts = std::vector<std::string>;

TEST(ToolDialogs, CompileStaysOpenOnAShortCompilerPath)
{
    RecordingMessageSink messages;
    CompileDialogData data{"<NONE>", "/src/Foo.java", false, "/src", "/src", "-g", true};
    CCompileDialog dialog(data);
    dialog.show();
    dialog.accept();
    EXPECT_EQ(messages.Texts(), Texts{"Please enter compiler path"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(data.compilerPath, "<NONE>");

    dialog.compilerPath->setText("/usr/bin/javac");
    dialog.compileAll->setChecked(true);
    dialog.classPath->setText("/src:/lib/x.jar");
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(data.compilerPath, "/usr/bin/javac");
    EXPECT_TRUE(data.compileAll);
    EXPECT_EQ(data.arguments, "-g");
    EXPECT_EQ(data.sourcePath, "/src");
    EXPECT_EQ(data.classPath, "/src:/lib/x.jar");
}

TEST(ToolDialogs, ViewerEnablesAndFillsItsFieldsAsTheBoxesAreClicked)
{
    ViewerDialogData data;
    data.baseName = "Hello";
    data.file = "Hello";
    data.workingDirectory = "/work/";
    data.viewerArguments = "-J-Xmx64m";
    CJViewDialog dialog(data);
    dialog.show();
    EXPECT_EQ(dialog.file->count(), 5);
    EXPECT_EQ(dialog.file->itemText(0), "Example1.html");
    EXPECT_FALSE(dialog.classpath->isEnabled());
    EXPECT_FALSE(dialog.debugApplet->isEnabled());

    dialog.specifyClasspath->click();
    EXPECT_TRUE(dialog.classpath->isEnabled());
    EXPECT_EQ(dialog.classpath->text(), "-classpath /work/");
    EXPECT_EQ(dialog.classpath->selectedText(), "-classpath /work/");

    dialog.runAsApplet->click();
    ASSERT_TRUE(dialog.debugApplet->isEnabled());
    dialog.debugApplet->click();
    EXPECT_EQ(dialog.viewerArguments->text(), "-debug -J-Xmx64m");
    dialog.runAsApplet->click();
    EXPECT_FALSE(dialog.debugApplet->isChecked());
    EXPECT_FALSE(dialog.debugApplet->isEnabled());
    EXPECT_EQ(dialog.viewerArguments->text(), " -J-Xmx64m");

    dialog.accept();
    EXPECT_TRUE(data.specifyClasspath);
    EXPECT_EQ(data.classpath, "-classpath /work/");
    EXPECT_FALSE(data.runAsApplet);
}

TEST(ToolDialogs, ToolsDirectoriesShowsDefaultsAndWritesBackOnOk)
{
    quillet::platform::MemoryProfile profile;
    int compileAutoSave = 1;
    {
        CToolsDialog dialog(profile, compileAutoSave);
        for (QLineEdit* path : {dialog.appViewer, dialog.appletViewer, dialog.compiler,
                                dialog.debugger, dialog.junit, dialog.helpFile})
            EXPECT_EQ(path->text(), "<NONE>");
        EXPECT_TRUE(dialog.useOutputWindow->isChecked());
        EXPECT_TRUE(dialog.autoSave->isChecked());
        EXPECT_FALSE(dialog.keepConsole->isChecked());
        EXPECT_EQ(dialog.keepConsole->text(), "Keep Console Window Open");

        // Detect leaves a field whose program was not found as it is.
        dialog.ApplyDetected(JavaToolPaths{"/jdk/bin/java", "/jdk/bin/javac", ""});
        dialog.autoSave->setChecked(false);
        dialog.reject();
        EXPECT_FALSE(profile.Has(settings::kTools, settings::kJavaCompiler));

        dialog.accept();
    }
    EXPECT_EQ(profile.GetString(settings::kTools, settings::kAppViewer, ""), "/jdk/bin/java");
    EXPECT_EQ(profile.GetString(settings::kTools, settings::kJavaCompiler, ""), "/jdk/bin/javac");
    EXPECT_EQ(profile.GetString(settings::kTools, settings::kJavaDebugger, ""), "<NONE>");
    EXPECT_EQ(profile.GetString(settings::kTools, settings::kJUnit, ""), "<NONE>");
    EXPECT_EQ(profile.GetInt(settings::kTools, settings::kCompileAutoSave, 1), 0);
    EXPECT_EQ(profile.GetInt(settings::kTools, settings::kCompilerUseOutputWnd, 0), 1);
    EXPECT_EQ(compileAutoSave, 0);
}

// Detect finds Debian's JUnit launcher, and OK keeps it as "Tools"/"JUnit".
TEST(ToolDialogs, DetectFillsTheJUnitLauncher)
{
    const QString launcher = QStringLiteral("/usr/share/java/junit-platform-console-standalone.jar");
    if (!QFileInfo::exists(launcher))
        GTEST_SKIP() << "Debian's junit5 is not installed";
    quillet::platform::MemoryProfile profile;
    quillet::platform::RecordingMessageSink messages;
    int compileAutoSave = 1;
    {
        CToolsDialog dialog(profile, compileAutoSave);
        QPushButton* detect = nullptr;
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Detect"))
                detect = button;
        }
        ASSERT_NE(detect, nullptr);
        detect->click();
        EXPECT_EQ(dialog.junit->text(), launcher);
        dialog.accept();
    }
    EXPECT_EQ(profile.GetString(settings::kTools, settings::kJUnit, ""), launcher.toStdString());
}
