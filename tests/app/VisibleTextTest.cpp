// Every text a new user can meet on a Linux desktop, gathered the way they
// meet it: the first-start question, the menus and toolbars with and without
// a document, every dialog and window that a menu command opens, and every
// message and file dialog passed through the message seam. None of them may
// speak of Windows, DOS, the registry or ".exe" programs.
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

using quillet::platform::MessageAnswer;
using quillet::platform::RecordingMessageSink;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

// "windows" in lower case is the ordinary word (child windows, tabs).
const QRegularExpression kOtherPlatform(QStringLiteral(R"(\bWindows\b|\bDOS\b|\.exe\b|\bregistry\b)"));
const QRegularExpression kOtherPlatformAnyCase(QStringLiteral(R"(\.exe\b|\bregistry\b)"),
                                               QRegularExpression::CaseInsensitiveOption);

class VisibleTexts {
public:
    void Add(const QString& text)
    {
        if (!text.isEmpty())
            texts_.insert(text);
    }
    void Add(const std::string& text) { Add(QString::fromStdString(text)); }

    void AddActions(const QList<QAction*>& actions)
    {
        for (QAction* action : actions) {
            Add(action->text());
            Add(action->statusTip());
            Add(action->toolTip());
            if (QMenu* menu = action->menu(); menu && visitedMenus_.insert(menu).second)
                AddActions(menu->actions());
        }
    }

    void AddWidget(QWidget* root)
    {
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* widget : widgets) {
            Add(widget->windowTitle());
            Add(widget->toolTip());
            Add(widget->statusTip());
            Add(widget->whatsThis());
            AddActions(widget->actions());
            if (auto* label = qobject_cast<QLabel*>(widget))
                Add(label->text());
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                Add(button->text());
            if (auto* group = qobject_cast<QGroupBox*>(widget))
                Add(group->title());
            if (auto* line = qobject_cast<QLineEdit*>(widget))
                Add(line->placeholderText());
            if (auto* text = qobject_cast<QTextEdit*>(widget))
                Add(text->toPlainText());
            if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
                Add(text->toPlainText());
            if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                for (int i = 0; i < combo->count(); ++i)
                    Add(combo->itemText(i));
            }
            if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
                for (int i = 0; i < tabs->count(); ++i)
                    Add(tabs->tabText(i));
            }
            if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
                for (int row = 0; row < view->model()->rowCount() && row < 200; ++row)
                    Add(view->model()->index(row, 0).data().toString());
            }
        }
    }

    void AddMessages(const RecordingMessageSink& messages)
    {
        for (const auto& message : messages.Messages()) {
            Add(message.text);
            Add(message.title);
            Add(message.yesText);
            Add(message.noText);
        }
        for (const auto& request : messages.FileRequests()) {
            Add(request.title);
            for (const std::string& filter : request.filters)
                Add(filter);
        }
    }

    std::vector<std::string> NamingOtherPlatform() const
    {
        std::vector<std::string> found;
        for (const QString& text : texts_) {
            if (kOtherPlatform.match(text).hasMatch() || kOtherPlatformAnyCase.match(text).hasMatch())
                found.push_back(text.toStdString());
        }
        return found;
    }

    std::size_t Count() const { return texts_.size(); }

private:
    std::set<QString> texts_;
    std::set<QMenu*> visitedMenus_;
};

class VisibleTextTest : public ::testing::Test {
protected:
    void SetUp() override { VxEditLangConfigRegistry::Instance().Reset(); }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }

    CScrivoApp::Options Options() const
    {
        CScrivoApp::Options options;
        options.programDirectory = QStringLiteral(QUILLET_PROGRAM_DIR);
        options.userSettingsDirectory = QString::fromStdString(dir_.File("settings") + "/");
        options.dataHome = QString::fromStdString(dir_.File("data"));
        options.configHome = QString::fromStdString(dir_.File("config"));
        options.instanceName = QString::fromStdString("quillet-test-" + dir_.Path().filename().string());
        return options;
    }

    // Runs a command; every dialog it opens is read and closed, and so is
    // every other window it leaves open.
    void RunCommand(CMainFrame& frame, QAction* action)
    {
        QTimer closer;
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                texts_.AddWidget(modal);
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
        });
        closer.start();
        action->trigger();
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 50)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        closer.stop();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &frame && window->isVisible() && !qobject_cast<QMenu*>(window)) {
                texts_.AddWidget(window);
                window->close();
            }
        }
    }

    TempDir dir_;
    quillet::platform::MemoryProfile profile_;
    RecordingMessageSink messages_;
    VisibleTexts texts_;
};

TEST_F(VisibleTextTest, NoTextAUserCanMeetNamesWindowsDosTheRegistryOrExePrograms)
{
    const std::string file = dir_.File("Hello.java");
    WriteFileBytes(file, "public class Hello {\r\n\tpublic static void main(String[] args) {}\r\n}\r\n");
    messages_.QueueAnswer(MessageAnswer::No);  // the first-start question
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    CMainFrame& frame = *app.MainFrame();
    texts_.AddWidget(&frame);
    ASSERT_NE(app.OpenDocument(QString::fromStdString(file)), nullptr);
    texts_.AddWidget(&frame);

    // Every command the menus and toolbars offer with a document open, but
    // the two that would end the session.
    std::vector<QAction*> commands;
    std::set<QAction*> seen;
    const std::function<void(const QList<QAction*>&)> collect = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (QMenu* menu = action->menu())
                collect(menu->actions());
            else if (!action->isSeparator() && seen.insert(action).second)
                commands.push_back(action);
        }
    };
    collect(frame.menuBar()->actions());
    for (QWidget* widget : frame.findChildren<QWidget*>())
        collect(widget->actions());
    const std::set<QAction*> sessionEnders = {frame.Action(cmd::kAppExit), frame.Action(cmd::kFileClose)};
    int run = 0;
    for (QAction* action : commands) {
        if (sessionEnders.count(action) || !action->isEnabled())
            continue;
        RunCommand(frame, action);
        ++run;
    }
    texts_.AddMessages(messages_);

    EXPECT_GT(run, 20);
    EXPECT_GT(texts_.Count(), 100u);
    EXPECT_EQ(texts_.NamingOtherPlatform(), std::vector<std::string>{});
}

}  // namespace
