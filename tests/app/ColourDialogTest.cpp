#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CScrivoDoc.h"
#include "engine/VxScrivo.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/app/ModalDialog.h"
#include "tests/support/TempDir.h"
#include "view/VxEditColourWell.h"
#include "view/VxEditFontColorDialog.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using quillet::platform::RecordingMessageSink;
using quillet::test::ReadFileBytes;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;
using tarrow::foundation::MakeRef;

namespace {

std::uint32_t Ref(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

void SelectGroup(VxEditFontColorDialog& dialog, const QString& name)
{
    const QList<QListWidgetItem*> found = dialog.GroupList()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    dialog.GroupList()->setCurrentItem(found.constFirst());
}

// Runs the Syntax Settings command, letting act work in its dialog.
void RunSyntaxSettings(CMainFrame& frame, const std::function<void(VxEditFontColorDialog&)>& act)
{
    quillet::test::WithModalDialog<VxEditFontColorDialog>(
        [&frame] { frame.RouteCommand(cmd::kToolsSyntaxSettings); }, act);
}

// The colour of the text area's background, far from any text.
QColor Background(CChildFrame& child)
{
    auto* view = static_cast<QAbstractScrollArea*>(child.EditView());
    const QImage image = view->viewport()->grab().toImage();
    return image.pixelColor(image.width() - 4, image.height() - 4);
}

}  // namespace

TEST(ColourDialogTest, GroupsAutomaticColoursAndResetAll)
{
    auto config = MakeRef<VxEditLangConfig>("Default");
    VxEditColorGroup keyword;
    keyword.DisplayName = "Keyword";
    keyword.Foreground = 0x800000;
    keyword.ForeColorAutomatic = 1;
    keyword.BackColorAutomatic = 1;
    config->PutColorGroup("Keyword", keyword);
    config->SetFaceName("DejaVu Sans Mono");
    config->SetSize(10);

    VxEditFontColorDialog dialog(*config);
    // The built-in Number and Operator groups are not configurable.
    QStringList shown;
    for (int row = 0; row < dialog.GroupList()->count(); ++row)
        shown << dialog.GroupList()->item(row)->text();
    EXPECT_EQ(shown, (QStringList{"Text", "Text Selection", "Keyword"}));
    EXPECT_EQ(dialog.GroupList()->currentRow(), 0);
    EXPECT_EQ(dialog.FontName()->text(), "DejaVu Sans Mono");
    EXPECT_EQ(dialog.FontSize()->text(), "10 pt");

    // Text's foreground, set by hand, then made automatic: the system's
    // window text colour, passed on to every automatic group.
    SelectGroup(dialog, "Text");
    dialog.ForegroundAutomatic()->setChecked(false);
    EXPECT_TRUE(dialog.ForegroundWell()->isEnabled());
    dialog.ForegroundWell()->PickColour(QColor(1, 2, 3));
    const int keywordIndex = config->FindColorGroup("Keyword");
    EXPECT_EQ(dialog.WorkingGroups()[keywordIndex].Foreground, Ref(QColor(1, 2, 3)));
    dialog.ForegroundAutomatic()->setChecked(true);
    EXPECT_FALSE(dialog.ForegroundWell()->isEnabled());
    const std::uint32_t windowText = Ref(QApplication::palette().color(QPalette::Text));
    const int text = config->GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup);
    const int selection = config->GetSpecialColorGroupIndex(IVxEditLangConfig::kSelectionGroup);
    EXPECT_EQ(dialog.WorkingGroups()[text].Foreground, windowText);
    EXPECT_EQ(dialog.WorkingGroups()[keywordIndex].Foreground, windowText);
    EXPECT_EQ(dialog.WorkingGroups()[selection].Background, windowText);
    // Clearing the box again gives back the colour chosen before, to Text
    // and to the groups that follow it.
    dialog.ForegroundAutomatic()->setChecked(false);
    EXPECT_EQ(dialog.WorkingGroups()[text].Foreground, Ref(QColor(1, 2, 3)));
    EXPECT_EQ(dialog.ForegroundWell()->Colour(), QColor(1, 2, 3));
    EXPECT_EQ(dialog.WorkingGroups()[keywordIndex].Foreground, Ref(QColor(1, 2, 3)));
    dialog.ForegroundAutomatic()->setChecked(true);

    // A group of its own colour; Reset All shows the configuration again.
    SelectGroup(dialog, "Keyword");
    dialog.BackgroundAutomatic()->setChecked(false);
    dialog.BackgroundWell()->PickColour(QColor(200, 100, 50));
    EXPECT_EQ(dialog.WorkingGroups()[keywordIndex].Background, Ref(QColor(200, 100, 50)));
    QFont bigger(QStringLiteral("DejaVu Sans"));
    bigger.setPointSize(14);
    dialog.ChooseFont(bigger);
    EXPECT_EQ(dialog.FontSize()->text(), "14 pt");
    EXPECT_EQ(config->GetColorGroup(keywordIndex)->Background, keyword.Background);  // only copies changed
    dialog.ResetAllButton()->click();
    EXPECT_EQ(dialog.GroupList()->currentRow(), 0);
    EXPECT_EQ(dialog.FontSize()->text(), "10 pt");
    for (int i = 0; i < config->GetColorGroupCount(); ++i)
        EXPECT_EQ(dialog.WorkingGroups()[i], *config->GetColorGroup(i)) << i;
}

TEST(ColourDialogTest, OkWritesTheLanguageAndRepaintsEveryViewCancelWritesNothing)
{
    VxEditLangConfigRegistry::Instance().Reset();
    TempDir dir;
    RecordingMessageSink messages;
    quillet::platform::MemoryProfile profile;
    profile.WriteInt("Java Files", "Associate", 0);
    WriteFileBytes(dir.File("A.java"), "class A {}\n");
    WriteFileBytes(dir.File("B.java"), "class B {}\n");
    WriteFileBytes(dir.File("page.htm"), "<p>text</p>\n");
    CScrivoApp::Options options;
    options.programDirectory = QString::fromStdString(std::string(QUILLET_PROGRAM_DIR));
    options.userSettingsDirectory = QString::fromStdString(dir.File("settings") + "/");
    {
        CScrivoApp app(profile, options);
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        CMainFrame& frame = *app.MainFrame();
        ASSERT_NE(app.OpenDocument(QString::fromStdString(dir.File("A.java"))), nullptr);
        CChildFrame* first = frame.ActiveChild();
        ASSERT_NE(app.OpenDocument(QString::fromStdString(dir.File("B.java"))), nullptr);
        CChildFrame* second = frame.ActiveChild();
        ASSERT_NE(first, second);
        first->resize(400, 300);
        second->resize(400, 300);
        const std::string userIni = dir.File("settings/java.ini");
        const QColor green(10, 200, 30);
        const QColor before = Background(*second);
        ASSERT_NE(before, green);

        // Cancel: nothing written, nothing changed on screen.
        RunSyntaxSettings(frame, [&](VxEditFontColorDialog& dialog) {
            SelectGroup(dialog, "Text");
            dialog.BackgroundAutomatic()->setChecked(false);
            dialog.BackgroundWell()->PickColour(green);
            dialog.reject();
        });
        EXPECT_FALSE(std::filesystem::exists(userIni));
        EXPECT_EQ(Background(*first), before);

        RunSyntaxSettings(frame, [&](VxEditFontColorDialog& dialog) {
            SelectGroup(dialog, "Text");
            dialog.BackgroundAutomatic()->setChecked(false);
            dialog.BackgroundWell()->PickColour(green);
            dialog.accept();
        });
        EXPECT_EQ(Background(*first), green);
        EXPECT_EQ(Background(*second), green);
        ASSERT_TRUE(std::filesystem::exists(userIni));
        EXPECT_NE(ReadFileBytes(userIni).find("Background=10,200,30"), std::string::npos);

        // HTML keeps its changes in the settings store.
        ASSERT_NE(app.OpenDocument(QString::fromStdString(dir.File("page.htm"))), nullptr);
        CChildFrame* page = frame.ActiveChild();
        page->resize(400, 300);
        RunSyntaxSettings(frame, [&](VxEditFontColorDialog& dialog) {
            SelectGroup(dialog, "Text");
            dialog.BackgroundAutomatic()->setChecked(false);
            dialog.BackgroundWell()->PickColour(QColor(250, 240, 200));
            dialog.accept();
        });
        EXPECT_EQ(Background(*page), QColor(250, 240, 200));
        EXPECT_EQ(Background(*first), green);
        EXPECT_EQ(profile.GetInt("HTML\\Color Groups\\Text", "Background", -1),
                  static_cast<int>(Ref(QColor(250, 240, 200))));
        EXPECT_EQ(profile.GetInt("HTML\\Color Groups\\Text", "BackColorAutomatic", -1), 0);
    }
    VxEditLangConfigRegistry::Instance().Reset();
}
