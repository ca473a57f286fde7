#include "app/CAboutDlg.h"
#include "app/CHelpCommands.h"
#include "app/CHelpWindow.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CStaticURL.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"
#include "view/VxEditKeyTable.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeySequence>
#include <QListWidget>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <set>

using quillet::platform::MessageAnswer;
using quillet::platform::RecordingMessageSink;
using quillet::test::TempDir;

namespace {

QString HelpDirectory()
{
    return QString::fromStdString(std::string(QUILLET_PROGRAM_DIR)) + QStringLiteral("QuilletHelp/");
}

// Every link target of a page as the browser reads it.
QStringList LinksOf(const QTextDocument& page)
{
    QStringList links;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && !links.contains(href))
                links << href;
        }
    }
    return links;
}

// The keys a page names: combinations with Ctrl or Shift (Alt+letter is a
// dialog's mnemonic, not a key of the program's tables) and function keys.
QStringList KeysNamedIn(const QString& text)
{
    static const QRegularExpression key(QStringLiteral(
        R"(\b(?:(?:Ctrl|Shift|Alt)\+)*(?:(?:Ctrl|Shift)\+)(?:(?:Alt|Shift)\+)*)"
        R"((?:Page Up|Page Down|Backspace|Delete|Insert|Home|End|Up|Down|Left|Right|Tab|Space|Enter|Escape|)"
        R"(F\d{1,2}|[A-Z0-9]\b|[\]\[+\-=])|\bF\d{1,2}\b)"));
    QStringList keys;
    for (auto it = key.globalMatch(text); it.hasNext();)
        keys << it.next().captured(0);
    return keys;
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry::Instance().Reset();
        profile_.WriteInt("Java Files", "Associate", 0);
        CScrivoApp::Options options;
        options.programDirectory = QString::fromStdString(std::string(QUILLET_PROGRAM_DIR));
        options.userSettingsDirectory = QString::fromStdString(dir_.File("settings") + "/");
        app_ = std::make_unique<CScrivoApp>(profile_, options);
        ASSERT_EQ(app_->Start({}), CScrivoApp::StartResult::Running);
        app_->Help().openUrl = [this](const QUrl& url) {
            opened_.push_back(url);
            return true;
        };
    }
    void TearDown() override
    {
        app_.reset();
        VxEditLangConfigRegistry::Instance().Reset();
    }

    TempDir dir_;
    quillet::platform::MemoryProfile profile_;
    RecordingMessageSink messages_;
    std::unique_ptr<CScrivoApp> app_;
    std::vector<QUrl> opened_;
};

}  // namespace

TEST_F(HelpTest, EveryLinkOfEveryPageLeadsToAPageThatLeadsBackToTheContents)
{
    app_->MainFrame()->RouteCommand(cmd::kHelpContents);
    CHelpWindow* window = app_->Help().HelpWindow();
    ASSERT_NE(window, nullptr);
    QTextBrowser* browser = window->Browser();
    EXPECT_EQ(browser->source().fileName(), "Welcome.htm");
    EXPECT_EQ(browser->documentTitle(), "Quillet Help");

    // Walk the pages from the welcome page, following every link in the
    // browser itself.
    const QUrl welcome = browser->source();
    std::set<QString> seen;
    QList<QUrl> pending{welcome};
    while (!pending.isEmpty()) {
        const QUrl page = pending.takeFirst();
        if (!seen.insert(page.fileName()).second)
            continue;
        browser->setSource(page);
        ASSERT_EQ(browser->source(), page);
        EXPECT_FALSE(browser->documentTitle().isEmpty()) << page.fileName().toStdString();
        EXPECT_GT(browser->document()->toPlainText().size(), 400) << page.fileName().toStdString();
        const QStringList links = LinksOf(*browser->document());
        if (page != welcome) {
            EXPECT_TRUE(links.contains("Welcome.htm")) << page.fileName().toStdString();
        }
        for (const QString& link : links) {
            const QUrl target = page.resolved(QUrl(link));
            ASSERT_TRUE(target.isLocalFile()) << link.toStdString();
            ASSERT_TRUE(QFileInfo::exists(target.toLocalFile()))
                << page.fileName().toStdString() << " links to missing " << link.toStdString();
            pending << target.adjusted(QUrl::RemoveFragment);
        }
    }
    // Every key a page names is bound: in the frame's accelerators, the
    // edit view's key table, the help window's own keys, or the few keys a
    // window handles itself.
    std::set<QString> bound{QStringLiteral("Shift+Tab"), QStringLiteral("Ctrl++"), QStringLiteral("Ctrl+-"),
                            QStringLiteral("Ctrl+Shift+C"), QStringLiteral("Ctrl+Shift+V"),
                            QStringLiteral("Shift+F10")};
    for (QObject* owner : std::initializer_list<QObject*>{app_->MainFrame(), window}) {
        for (const QAction* action : owner->findChildren<QAction*>()) {
            for (const QKeySequence& keys : action->shortcuts())
                bound.insert(keys.toString(QKeySequence::PortableText));
        }
    }
    for (const QString& name : seen) {
        QFile page(HelpDirectory() + name);
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        QTextDocument document;
        document.setHtml(QString::fromUtf8(page.readAll()));
        for (const QString& named : KeysNamedIn(document.toPlainText())) {
            QString portable = named;
            portable.replace(QStringLiteral("Page Up"), QStringLiteral("PgUp"))
                .replace(QStringLiteral("Page Down"), QStringLiteral("PgDown"))
                .replace(QStringLiteral("Enter"), QStringLiteral("Return"))
                .replace(QStringLiteral("Escape"), QStringLiteral("Esc"));
            const QKeySequence keys = QKeySequence::fromString(portable, QKeySequence::PortableText);
            const bool inTable = keys.count() == 1 && VxEditKeyTable::CommandFor(keys[0]) != 0;
            EXPECT_TRUE(inTable || bound.count(keys.toString(QKeySequence::PortableText)) != 0)
                << name.toStdString() << " names " << named.toStdString() << ", which nothing is bound to";
        }
    }

    // Every page is reachable, and the contents list every one of them.
    const QStringList files = QDir(HelpDirectory()).entryList({QStringLiteral("*.htm")}, QDir::Files);
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(files.size()));
    EXPECT_EQ(window->Contents()->count(), files.size());

    // Back and forward go through the pages seen; the search wraps around.
    browser->setSource(welcome);
    window->Contents()->setCurrentRow(1);
    emit window->Contents()->itemClicked(window->Contents()->item(1));
    EXPECT_NE(browser->source(), welcome);
    browser->backward();
    EXPECT_EQ(browser->source(), welcome);
    EXPECT_TRUE(window->FindInPage("Contents"));
    EXPECT_TRUE(window->FindInPage("Contents"));
    EXPECT_FALSE(window->FindInPage("no such words anywhere"));
}

TEST_F(HelpTest, AClickedLinkSelectsItsPageInTheContentsAndTitlesTheWindow)
{
    app_->MainFrame()->RouteCommand(cmd::kHelpContents);
    CHelpWindow* window = app_->Help().HelpWindow();
    ASSERT_NE(window, nullptr);
    QTextBrowser* browser = window->Browser();
    EXPECT_EQ(window->windowTitle(), "Quillet Help");
    ASSERT_NE(window->Contents()->currentItem(), nullptr);
    ASSERT_EQ(window->Contents()->currentItem()->text(), "Welcome");

    // Click the first link to the editing page, as a person does.
    QTextCursor link;
    for (QTextBlock block = browser->document()->begin(); block.isValid() && link.isNull(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorHref() == "Editing.htm") {
                link = QTextCursor(browser->document());
                link.setPosition(it.fragment().position() + 1);
                break;
            }
        }
    }
    ASSERT_FALSE(link.isNull());
    const QPointF at = browser->cursorRect(link).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, browser->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(browser->viewport(), &click);
    }
    ASSERT_EQ(browser->source().fileName(), "Editing.htm");
    ASSERT_NE(window->Contents()->currentItem(), nullptr);
    EXPECT_EQ(window->Contents()->currentItem()->data(Qt::UserRole).toString(), "Editing.htm");
    EXPECT_EQ(window->Contents()->selectedItems(), QList<QListWidgetItem*>{window->Contents()->currentItem()});
    EXPECT_EQ(window->windowTitle(), "Quillet Help - Editing and keys");
}

TEST_F(HelpTest, CustomHelpAsksWhenNothingIsSetAndOpensTheFileWhenItIs)
{
    messages_.QueueAnswer(MessageAnswer::No);
    app_->MainFrame()->RouteCommand(cmd::kHelpCustom);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, CHelpCommands::kNoCustomHelpQuestion);
    EXPECT_TRUE(opened_.empty());

    const std::string file = dir_.File("api.html");
    quillet::test::WriteFileBytes(file, "<html></html>");
    profile_.WriteString("Tools", "CustomOnlineHelp", file);
    app_->MainFrame()->RouteCommand(cmd::kHelpCustom);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl::fromLocalFile(QString::fromStdString(file)));

    // A file that is gone is reported, not handed on.
    profile_.WriteString("Tools", "CustomOnlineHelp", dir_.File("gone.html"));
    app_->MainFrame()->RouteCommand(cmd::kHelpCustom);
    EXPECT_EQ(opened_.size(), 1u);
    EXPECT_NE(messages_.Messages().back().text.find("gone.html"), std::string::npos);
}

TEST_F(HelpTest, AboutShowsTheVersionAndALink)
{
    CAboutDlg about;
    bool version = false;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        version = version || label->text() == "Quillet Version 2.0";
        EXPECT_FALSE(label->accessibleName().isEmpty());
    }
    EXPECT_TRUE(version);
    EXPECT_EQ(about.Link()->alignment(), Qt::AlignCenter);
    EXPECT_EQ(about.Link()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(about.Link()->palette().color(QPalette::WindowText), QColor(Qt::blue));
}
