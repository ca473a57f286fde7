// Print Preview opens with as many pages as the user showed last time, and
// the choice is kept under "Settings"/"PreviewPages" at a normal exit.
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/SettingsKeys.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"
#include "view/VxEditPrintPreview.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

TEST(PrintPreviewPages, AreShownAsLastTimeAndKeptAtExit)
{
    VxEditLangConfigRegistry::Instance().Reset();
    TempDir dir;
    quillet::platform::MemoryProfile profile;
    profile.WriteInt(settings::kJavaFiles, settings::kAssociate, settings::kAssociateNo);
    profile.WriteInt(settings::kSettings, settings::kPreviewPages, 2);
    quillet::platform::RecordingMessageSink messages;
    std::string text;
    for (int line = 0; line < 400; ++line)
        text += "int line" + std::to_string(line) + ";\r\n";
    WriteFileBytes(dir.File("Lines.java"), text);

    CScrivoApp::Options options;
    options.programDirectory = QStringLiteral(QUILLET_PROGRAM_DIR);
    options.userSettingsDirectory = QString::fromStdString(dir.File("settings") + "/");
    options.instanceName = QString::fromStdString("quillet-test-" + dir.Path().filename().string());
    {
        CScrivoApp app(profile, options);
        ASSERT_EQ(app.Start({QString::fromStdString(dir.File("Lines.java"))}), CScrivoApp::StartResult::Running);
        int shown = 0;
        QTimer closer;
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* preview = qobject_cast<VxEditPrintPreview*>(QApplication::activeModalWidget())) {
                shown = preview->PagesShown();
                preview->PagesButton()->click();  // back to one page
                preview->CloseButton()->click();
            }
        });
        closer.start();
        ASSERT_TRUE(app.MainFrame()->RouteCommand(cmd::kFilePrintPreview));
        EXPECT_EQ(shown, 2);
        app.Exit();
    }
    EXPECT_EQ(profile.GetInt(settings::kSettings, settings::kPreviewPages, 0), 1);
    VxEditLangConfigRegistry::Instance().Reset();
}
