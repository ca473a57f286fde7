#include "app/CToolbarManager.h"

#include "app/CommandIcons.h"
#include "app/SettingsKeys.h"
#include "platform/core/Profile.h"
#include "resources/CommandIds.h"

#include <QAction>
#include <QMainWindow>
#include <QStringList>
#include <QToolBar>

namespace {

constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 24;
constexpr const char* kButtonsValue = "Buttons";
constexpr const char* kLayoutValue = "Layout";
// Bumped when the toolbars change in a way an old stored layout cannot follow.
constexpr int kLayoutVersion = 1;

std::string BarSection(const QString& title)
{
    return std::string(settings::kToolbars) + "\\" + title.toStdString();
}

QString JoinIds(const QList<int>& ids)
{
    QStringList parts;
    for (int id : ids)
        parts << QString::number(id);
    return parts.join(QLatin1Char(','));
}

// Stored lists are only taken when every entry is a number.
bool SplitIds(const QString& text, QList<int>& ids)
{
    ids.clear();
    if (text.isEmpty())
        return true;
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok || id < 0)
            return false;
        ids << id;
    }
    return true;
}

}  // namespace

CToolbarManager::CToolbarManager(QMainWindow& frame, std::function<QAction*(int)> action)
    : QObject(&frame), frame_(frame), action_(std::move(action))
{
    using namespace cmd;
    bars_ = {
        {59392, QStringLiteral("File"),
         {kFileNew, kFileOpen, kFileSave, kSeparator, kFilePrintPreview, kFilePrint}, {}, nullptr},
        {59397, QStringLiteral("Edit"),
         {kEditCut, kEditCopy, kEditPaste, kSeparator, kEditUndo, kEditRedo, kSeparator, kEditFind,
          kEditReplace},
         {}, nullptr},
        {59398, QStringLiteral("Tools"),
         {kBuildCompile, kBuildExecute, kBuildDebug, kSeparator, kInsertClass, kInsertInterface,
          kInsertMethod, kInsertMemberVariable, kSeparator, kHelpContents, kHelpCustom, kAppAbout},
         {}, nullptr},
    };
}

void CToolbarManager::CreateToolbars()
{
    for (Bar& bar : bars_) {
        bar.buttons = bar.defaultButtons;
        bar.toolbar = new QToolBar(bar.title, &frame_);
        bar.toolbar->setObjectName(QStringLiteral("Toolbar%1").arg(bar.id));
        bar.toolbar->setAccessibleName(bar.title);
        bar.toolbar->setAllowedAreas(Qt::AllToolBarAreas);
        bar.toolbar->setFloatable(true);
        bar.toolbar->setMovable(true);
        bar.toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        frame_.addToolBar(Qt::TopToolBarArea, bar.toolbar);
        Rebuild(bar);
    }
    SetLargeButtons(large_);
}

CToolbarManager::Bar* CToolbarManager::Find(int barId)
{
    for (Bar& bar : bars_) {
        if (bar.id == barId)
            return &bar;
    }
    return nullptr;
}

QToolBar* CToolbarManager::Toolbar(int barId) const
{
    for (const Bar& bar : bars_) {
        if (bar.id == barId)
            return bar.toolbar;
    }
    return nullptr;
}

QToolBar* CToolbarManager::ToolbarOfViewCommand(int commandId) const
{
    const int index = commandId - cmd::kViewToolbarFile;
    return index >= 0 && index < bars_.size() ? bars_[index].toolbar : nullptr;
}

QList<int> CToolbarManager::Buttons(int barId) const
{
    for (const Bar& bar : bars_) {
        if (bar.id == barId)
            return bar.buttons;
    }
    return {};
}

void CToolbarManager::SetButtons(int barId, const QList<int>& buttons)
{
    if (Bar* bar = Find(barId)) {
        bar->buttons = buttons;
        Rebuild(*bar);
    }
}

void CToolbarManager::ResetButtons(int barId)
{
    if (Bar* bar = Find(barId))
        SetButtons(barId, bar->defaultButtons);
}

void CToolbarManager::InsertButton(int barId, int commandId, int index)
{
    Bar* bar = Find(barId);
    if (!bar)
        return;
    QList<int> buttons = bar->buttons;
    if (index < 0 || index >= buttons.size())
        buttons.append(commandId);
    else
        buttons.insert(index, commandId);
    SetButtons(barId, buttons);
}

void CToolbarManager::RemoveButton(int barId, int index)
{
    Bar* bar = Find(barId);
    if (!bar)
        return;
    if (index < 0 || index >= bar->buttons.size())
        return;
    QList<int> buttons = bar->buttons;
    buttons.removeAt(index);
    SetButtons(barId, buttons);
}

void CToolbarManager::Rebuild(Bar& bar)
{
    bar.toolbar->clear();
    for (int id : bar.buttons) {
        if (id == kSeparator) {
            bar.toolbar->addSeparator();
            continue;
        }
        QAction* action = action_(id);
        if (action->icon().isNull())
            action->setIcon(CommandIcon(id));
        bar.toolbar->addAction(action);
        if (QWidget* button = bar.toolbar->widgetForAction(action)) {
            button->setAccessibleName(action->toolTip());
            button->setAccessibleDescription(action->statusTip());
        }
    }
    emit ToolbarRebuilt(bar.toolbar);
}

void CToolbarManager::SetLargeButtons(bool large)
{
    large_ = large;
    const int size = large ? kLargeIcon : kSmallIcon;
    for (Bar& bar : bars_) {
        if (bar.toolbar)
            bar.toolbar->setIconSize(QSize(size, size));
    }
}

CToolbarManager::Snapshot CToolbarManager::Save() const
{
    Snapshot snapshot;
    snapshot.layout = frame_.saveState(kLayoutVersion);
    for (const Bar& bar : bars_)
        snapshot.buttons.insert(bar.id, bar.buttons);
    return snapshot;
}

void CToolbarManager::Restore(const Snapshot& snapshot)
{
    for (Bar& bar : bars_) {
        auto it = snapshot.buttons.constFind(bar.id);
        if (it != snapshot.buttons.constEnd() && *it != bar.buttons) {
            bar.buttons = *it;
            Rebuild(bar);
        }
    }
    if (!snapshot.layout.isEmpty())
        frame_.restoreState(snapshot.layout, kLayoutVersion);
}

void CToolbarManager::Load(const quillet::platform::Profile& profile)
{
    Snapshot snapshot;
    for (const Bar& bar : bars_) {
        QList<int> buttons;
        const std::string stored = profile.GetString(BarSection(bar.title), kButtonsValue, "");
        if (profile.Has(BarSection(bar.title), kButtonsValue) &&
            SplitIds(QString::fromStdString(stored), buttons))
            snapshot.buttons.insert(bar.id, buttons);
    }
    snapshot.layout = QByteArray::fromBase64(
        QByteArray::fromStdString(profile.GetString(settings::kToolbars, kLayoutValue, "")));
    Restore(snapshot);
}

void CToolbarManager::Store(quillet::platform::Profile& profile) const
{
    const Snapshot snapshot = Save();
    profile.WriteString(settings::kToolbars, kLayoutValue, snapshot.layout.toBase64().toStdString());
    for (const Bar& bar : bars_)
        profile.WriteString(BarSection(bar.title), kButtonsValue, JoinIds(bar.buttons).toStdString());
}
