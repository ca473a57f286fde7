#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CScrivoDoc.h"
#include "app/LanguageRegistration.h"
#include "tests/app/AppOptions.h"
#include "engine/VxScrivo.h"
#include "language/VxEditHtmlExport.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "resources/CommandIds.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using quillet::platform::MessageAnswer;
using quillet::platform::RecordingMessageSink;
using quillet::test::ReadFileBytes;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry::Instance().Reset();
        RegisterLanguages(profile_, QUILLET_PROGRAM_DIR, dir_.File("settings") + "/");
    }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }

    static std::string LanguageOf(const CScrivoDoc& document)
    {
        return document.Model()->GetLangConfig()->GetName();
    }

    void Type(CScrivoDoc& document, const std::string& text)
    {
        document.Model()->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    }

    quillet::platform::MemoryProfile profile_;
    TempDir dir_;
    RecordingMessageSink messages_;
};

}  // namespace

TEST_F(DocumentTest, LanguageFollowsTheExtensionWhenOpened)
{
    EXPECT_EQ(CScrivoDoc::LanguageFor("/src/Applet.JAVA"), "Java");
    EXPECT_EQ(CScrivoDoc::LanguageFor("index.Htm"), "HTML");
    EXPECT_EQ(CScrivoDoc::LanguageFor("page.html"), "HTML");
    EXPECT_EQ(CScrivoDoc::LanguageFor("script.js"), "JavaScript");
    EXPECT_EQ(CScrivoDoc::LanguageFor("module.MJS"), "JavaScript");
    EXPECT_EQ(CScrivoDoc::LanguageFor("common.cjs"), "JavaScript");
    EXPECT_EQ(CScrivoDoc::LanguageFor("site.CSS"), "CSS");
    EXPECT_EQ(CScrivoDoc::LanguageFor("/src.java/README"), "Default");

    for (auto [name, language] : {std::pair{"Applet.JAVA", "Java"}, {"index.Htm", "HTML"},
                                  {"script.js", "JavaScript"}, {"README", "Default"}}) {
        WriteFileBytes(dir_.File(name), "text\r\nmore");
        CScrivoDoc document;
        ASSERT_TRUE(document.OnOpenDocument(dir_.File(name))) << name;
        EXPECT_EQ(LanguageOf(document), language) << name;
        EXPECT_EQ(document.Model()->LineCount(), 2);
    }
}

TEST_F(DocumentTest, JavaAndJavaScriptFilesIndentByTheirBraces)
{
    WriteFileBytes(dir_.File("A.java"), "class A {\n  int a;\n}\n");
    WriteFileBytes(dir_.File("a.js"), "function f() {\n  g();\n}\n");
    WriteFileBytes(dir_.File("a.html"), "<p>\n  text\n</p>\n");
    for (auto [name, braces] : {std::pair{"A.java", true}, {"a.js", true}, {"a.html", false}}) {
        CScrivoDoc document;
        ASSERT_TRUE(document.OnOpenDocument(dir_.File(name))) << name;
        EXPECT_EQ(braces, document.Model()->IsBraceIndented()) << name;
        EXPECT_EQ(braces, document.Model()->IndentsWithSpaces()) << name;
        EXPECT_EQ(2, document.Model()->DetectedIndent().spaces) << name;
    }
    CScrivoDoc untitled;
    ASSERT_TRUE(untitled.OnNewDocument("Quillet1"));
    EXPECT_TRUE(untitled.Model()->IsBraceIndented());
    EXPECT_FALSE(untitled.Model()->IndentsWithSpaces());
}

TEST_F(DocumentTest, SavingUnderAnotherExtensionSwitchesTheColouring)
{
    CScrivoDoc document;
    ASSERT_TRUE(document.OnNewDocument("Quillet1"));
    EXPECT_EQ(document.Title(), "Quillet1");
    EXPECT_EQ(LanguageOf(document), "Java");
    Type(document, "<HTML></HTML>");
    messages_.QueueFileAnswer(dir_.File("Test.html"));
    ASSERT_TRUE(document.DoSave({}));
    EXPECT_EQ(LanguageOf(document), "HTML");
    EXPECT_EQ(document.Title(), "Test.html");
    EXPECT_FALSE(document.IsModified());
    messages_.QueueFileAnswer(dir_.File("Test"));  // no extension: ".java" is added
    ASSERT_TRUE(document.DoSave({}));
    EXPECT_EQ(LanguageOf(document), "Java");
    EXPECT_EQ(document.PathName(), dir_.File("Test.java"));
    EXPECT_EQ(ReadFileBytes(dir_.File("Test.java")), "<HTML></HTML>");
}

TEST_F(DocumentTest, AFileThatCannotBeOpenedFailsWithItsMessage)
{
    CScrivoDoc document;
    EXPECT_FALSE(document.OnOpenDocument(dir_.File("missing.java")));
    ASSERT_EQ(messages_.Texts().size(), 1u);
    EXPECT_NE(messages_.Texts()[0].find("missing.java"), std::string::npos) << messages_.Texts()[0];
}

TEST_F(DocumentTest, ClosingAfterTypingAsksToSave)
{
    WriteFileBytes(dir_.File("Hello.java"), "class Hello {}\n");
    CScrivoDoc document;
    ASSERT_TRUE(document.OnOpenDocument(dir_.File("Hello.java")));
    document.SetPathName(dir_.File("Hello.java"));
    EXPECT_TRUE(document.SaveModified());  // unchanged: no question
    EXPECT_TRUE(messages_.Texts().empty());

    Type(document, "// note\n");
    EXPECT_FALSE(document.ModifiedFlag());  // the edit never set the document's own flag
    messages_.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(document.SaveModified());
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Save changes to Hello.java?"});
    EXPECT_TRUE(document.ModifiedFlag());

    messages_.QueueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(document.SaveModified());
    EXPECT_EQ(ReadFileBytes(dir_.File("Hello.java")), "// note\nclass Hello {}\n");
}

TEST_F(DocumentTest, SaveOfAReadOnlyFileSaysWhyAndAsksForANewName)
{
    WriteFileBytes(dir_.File("Locked.java"), "x");
    chmod(dir_.File("Locked.java").c_str(), 0444);
    CScrivoDoc document;
    ASSERT_TRUE(document.OnOpenDocument(dir_.File("Locked.java")));
    document.SetPathName(dir_.File("Locked.java"));
    Type(document, "y");
    messages_.QueueFileAnswer(dir_.File("Unlocked.java"));
    EXPECT_TRUE(document.DoFileSave());
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"'" + dir_.File("Locked.java") +
                                                          "' cannot be saved: the file is read-only. Choose "
                                                          "another name to save it."});
    EXPECT_EQ(messages_.FileRequests().size(), 1u);
    EXPECT_EQ(ReadFileBytes(dir_.File("Unlocked.java")), "yx");
    EXPECT_EQ(ReadFileBytes(dir_.File("Locked.java")), "x");
}

// The folder was renamed while the file was open: Save names the folder.
TEST_F(DocumentTest, SaveIntoAFolderThatIsGoneNamesTheFolder)
{
    std::filesystem::create_directory(dir_.File("src"));
    WriteFileBytes(dir_.File("src/Moved.java"), "x");
    CScrivoDoc document;
    ASSERT_TRUE(document.OnOpenDocument(dir_.File("src/Moved.java")));
    document.SetPathName(dir_.File("src/Moved.java"));
    Type(document, "y");
    std::filesystem::rename(dir_.File("src"), dir_.File("renamed"));
    EXPECT_FALSE(document.DoFileSave());
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"'" + dir_.File("src/Moved.java") +
                                                          "' cannot be saved: the folder '" + dir_.File("src") +
                                                          "' no longer exists."});
    EXPECT_TRUE(document.IsModified());
}

// A file on a file system mounted read-only, as a CD or a locked share.
TEST_F(DocumentTest, SaveOnAReadOnlyMountSaysWhyAndAsksForANewName)
{
    const std::string mount = dir_.File("mount");
    std::filesystem::create_directory(mount);
    if (quillet::test::RunProcess({"mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", mount}).exitStatus != 0)
        GTEST_SKIP() << "needs the right to mount a file system";
    WriteFileBytes(mount + "/Disc.java", "x");
    const bool readOnly =
        quillet::test::RunProcess({"mount", "-o", "remount,ro", mount}).exitStatus == 0;
    CScrivoDoc document;
    const bool opened = document.OnOpenDocument(mount + "/Disc.java");
    document.SetPathName(mount + "/Disc.java");
    Type(document, "y");
    messages_.QueueFileAnswer(dir_.File("Copy.java"));
    const bool saved = document.DoFileSave();
    quillet::test::RunProcess({"umount", mount});
    ASSERT_TRUE(readOnly);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(saved);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"'" + mount +
                                                          "/Disc.java' cannot be saved: it is on a read-only file "
                                                          "system. Choose another name to save it."});
    EXPECT_EQ(ReadFileBytes(dir_.File("Copy.java")), "yx");
}

TEST_F(DocumentTest, ExportAsHtmlWritesThePageInTheEditorsColours)
{
    WriteFileBytes(dir_.File("index.htm"), "<BODY>\r\nhi</BODY>");
    CScrivoDoc document;
    ASSERT_TRUE(document.OnOpenDocument(dir_.File("index.htm")));
    document.SetPathName(dir_.File("index.htm"));
    messages_.QueueFileAnswer(dir_.File("out"));
    ASSERT_TRUE(document.OnCommand(cmd::kFileExportHtml));
    // The dialog proposes the document's folder and name.
    ASSERT_EQ(messages_.FileRequests().size(), 1u);
    EXPECT_EQ(messages_.FileRequests()[0].initialPath, dir_.File("index.html"));
    const std::string page = ReadFileBytes(dir_.File("out.htm"));
    EXPECT_EQ(page.rfind(std::string(VxEditHtmlExport::kPageStart) + "<PRE>", 0), 0u) << page;
    EXPECT_NE(page.find("<FONT COLOR=\"#0000ff\">BODY</FONT>"), std::string::npos) << page;
    EXPECT_EQ(page.substr(page.size() - 20), "</PRE></BODY></HTML>");

    EXPECT_TRUE(messages_.Texts().empty());
    messages_.QueueFileAnswer(dir_.File("no/such/folder/out.htm"));
    EXPECT_FALSE(document.ExportAsHtml());
    EXPECT_TRUE(messages_.Texts().empty());  // silently

    // An untitled document proposes its title in the current folder.
    CScrivoDoc untitled;
    ASSERT_TRUE(untitled.OnNewDocument("Quillet1"));
    EXPECT_FALSE(untitled.ExportAsHtml());
    EXPECT_EQ(messages_.FileRequests().back().initialPath,
              (std::filesystem::current_path() / "Quillet1.html").string());
}

// File > New, a few lines typed at the keyboard, File > Save: the file has
// the platform's LF line ends.
TEST(NewDocument, TypedAndSavedItHasLfLineEnds)
{
    VxEditLangConfigRegistry::Instance().Reset();
    TempDir dir;
    quillet::platform::MemoryProfile profile;
    RecordingMessageSink messages;
    profile.WriteInt("Java Files", "Associate", 0);
    {
        CScrivoApp app(profile, AppOptionsIn(dir));
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        app.MainFrame()->RouteCommand(cmd::kFileNew);
        ASSERT_NE(app.MainFrame()->ActiveChild(), nullptr);
        QWidget* view = app.MainFrame()->ActiveChild()->EditView();
        // Each line typed key by key, then Return.
        for (const QString line : {QStringLiteral("class A {"), QStringLiteral("}")}) {
            for (const QChar c : line) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(view, &key);
            }
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(view, &enter);
        }
        messages.QueueFileAnswer(dir.File("A"));
        app.MainFrame()->RouteCommand(cmd::kFileSave);
    }
    EXPECT_EQ(ReadFileBytes(dir.File("A.java")), "class A {\n}\n");
    VxEditLangConfigRegistry::Instance().Reset();
}
