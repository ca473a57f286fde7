#include "app/CCustomizeToolbarsDlg.h"

#include "app/CToolbarManager.h"
#include "app/CommandIcons.h"
#include "app/CommandTable.h"
#include "resources/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDrag>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kCommandRole = Qt::UserRole;
constexpr int kBarRole = Qt::UserRole + 1;

QString PlainText(const QString& menuText)
{
    return menuText.section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')).remove(QStringLiteral("..."));
}

// A command list whose items drag as commands.
class CommandListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    QStringList mimeTypes() const override { return {QString::fromLatin1(CCustomizeToolbarsDlg::kMimeType)}; }
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override
    {
        if (items.isEmpty())
            return nullptr;
        return CCustomizeToolbarsDlg::CommandData(items.constFirst()->data(kCommandRole).toInt());
    }
};

struct DraggedCommand {
    int command = 0;
    int sourceBar = 0;
    int sourceIndex = -1;
};

bool ReadCommand(const QMimeData& data, DraggedCommand& dragged)
{
    const QList<QByteArray> parts = data.data(QString::fromLatin1(CCustomizeToolbarsDlg::kMimeType)).split(' ');
    if (parts.size() != 3)
        return false;
    bool ok[3] = {};
    dragged.command = parts[0].toInt(&ok[0]);
    dragged.sourceBar = parts[1].toInt(&ok[1]);
    dragged.sourceIndex = parts[2].toInt(&ok[2]);
    return ok[0] && ok[1] && ok[2] && dragged.command > 0;
}

}  // namespace

CCustomizeToolbarsDlg::CCustomizeToolbarsDlg(CToolbarManager& toolbars, QWidget* parent)
    : QDialog(parent), toolbars_(toolbars), groups_(new QListWidget), commands_(new CommandListWidget),
      bars_(new QListWidget), description_(new QLabel)
{
    setWindowTitle(tr("Customize"));
    setAccessibleName(windowTitle());
    auto* tabs = new QTabWidget;

    // Toolbars page
    auto* barsPage = new QWidget;
    auto* barsLayout = new QHBoxLayout(barsPage);
    bars_->setAccessibleName(tr("Toolbars"));
    barsLayout->addWidget(bars_, 1);
    auto* barButtons = new QVBoxLayout;
    auto* reset = new QPushButton(tr("&Reset"));
    auto* resetAll = new QPushButton(tr("Reset &All"));
    reset->setAccessibleName(tr("Reset the selected toolbar"));
    resetAll->setAccessibleName(tr("Reset all toolbars"));
    barButtons->addWidget(reset);
    barButtons->addWidget(resetAll);
    barButtons->addStretch();
    barsLayout->addLayout(barButtons);
    tabs->addTab(barsPage, tr("Toolbars"));
    FillToolbars();
    connect(bars_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (QToolBar* toolbar = toolbars_.Toolbar(item->data(kBarRole).toInt()))
            toolbar->setVisible(item->checkState() == Qt::Checked);
    });
    connect(reset, &QPushButton::clicked, this, [this] {
        if (QListWidgetItem* item = bars_->currentItem())
            toolbars_.ResetButtons(item->data(kBarRole).toInt());
    });
    connect(resetAll, &QPushButton::clicked, this, [this] {
        for (const CToolbarManager::Bar& bar : toolbars_.Bars())
            toolbars_.ResetButtons(bar.id);
    });

    // Commands page
    auto* commandsPage = new QWidget;
    auto* grid = new QGridLayout(commandsPage);
    auto* groupsLabel = new QLabel(tr("Categ&ories:"));
    auto* commandsLabel = new QLabel(tr("Comman&ds:"));
    groupsLabel->setBuddy(groups_);
    commandsLabel->setBuddy(commands_);
    groups_->setAccessibleName(tr("Categories"));
    commands_->setAccessibleName(tr("Commands"));
    description_->setAccessibleName(tr("Description"));
    description_->setWordWrap(true);
    auto* hint = new QLabel(tr("Drag a command onto a toolbar to add it. Drag a button off its "
                               "toolbar to remove it."));
    hint->setWordWrap(true);
    grid->addWidget(groupsLabel, 0, 0);
    grid->addWidget(commandsLabel, 0, 1);
    grid->addWidget(groups_, 1, 0);
    grid->addWidget(commands_, 1, 1);
    grid->addWidget(description_, 2, 0, 1, 2);
    grid->addWidget(hint, 3, 0, 1, 2);
    grid->setColumnStretch(1, 2);
    commands_->setDragEnabled(true);
    commands_->setDragDropMode(QAbstractItemView::DragOnly);
    commands_->setDefaultDropAction(Qt::CopyAction);
    for (const QString& group : GroupNames())
        groups_->addItem(group);
    connect(groups_, &QListWidget::currentTextChanged, this, &CCustomizeToolbarsDlg::FillCommands);
    connect(commands_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        description_->setText(item ? CommandInfoFor(item->data(kCommandRole).toInt())
                                             .prompt.section(QLatin1Char('\n'), 0, 0)
                                   : QString());
    });
    tabs->addTab(commandsPage, tr("Commands"));
    groups_->setCurrentRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    resize(480, 360);

    for (const CToolbarManager::Bar& bar : toolbars_.Bars())
        PrepareToolbar(bar.toolbar);
    connect(&toolbars_, &CToolbarManager::ToolbarRebuilt, this, &CCustomizeToolbarsDlg::PrepareToolbar);
}

CCustomizeToolbarsDlg::~CCustomizeToolbarsDlg()
{
    // The toolbars work as buttons again.
    for (const CToolbarManager::Bar& bar : toolbars_.Bars()) {
        bar.toolbar->removeEventFilter(this);
        bar.toolbar->setAcceptDrops(false);
        for (QToolButton* button : bar.toolbar->findChildren<QToolButton*>())
            button->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    }
}

QStringList CCustomizeToolbarsDlg::GroupNames()
{
    return {QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("Tools"), QStringLiteral("Menu")};
}

QList<int> CCustomizeToolbarsDlg::GroupCommands(const QString& group)
{
    using namespace cmd;
    if (group == QLatin1String("File"))
        return {kFileNew, kFileOpen, kFileClose, kFileSave, kFileSaveAs, kFileExportHtml, kFileSaveAll,
                kFilePrint, kFilePrintPreview, kFilePrintSetup, kAppExit};
    if (group == QLatin1String("Edit"))
        return {kEditUndo, kEditRedo, kEditCut, kEditCopy, kEditPaste, kEditCopyAsHtml, kEditSelectAll,
                kEditFind, kEditReplace, kEditGotoLine};
    if (group == QLatin1String("Tools"))
        return {kBuildCompile, kBuildAll, kBuildStop, kBuildExecute, kBuildDebug, kToggleBreakpoint,
                kClearBreakpoints, kNextError, kPrevError, kClearErrors, kInsertClass, kInsertInterface,
                kInsertMethod, kInsertMemberVariable, kToolsSyntaxSettings, kToolsSettings, kToolsAppletHtml,
                kHelpContents, kHelpCustom, kAppAbout};
    if (group == QLatin1String("Menu"))
        return {kViewStatusBar, kViewOutputWindow, kViewConsole, kViewWorkbookMode, kViewLargeButtons,
                kViewFullScreen, kViewLineNumbers, kViewRefreshClasses, kWindowNew, kWindowCascade, kWindowTile};
    return {};
}

void CCustomizeToolbarsDlg::SelectGroup(const QString& group)
{
    const QList<QListWidgetItem*> found = groups_->findItems(group, Qt::MatchExactly);
    if (!found.isEmpty())
        groups_->setCurrentItem(found.constFirst());
}

void CCustomizeToolbarsDlg::FillCommands(const QString& group)
{
    commands_->clear();
    for (int id : GroupCommands(group)) {
        auto* item = new QListWidgetItem(CommandIcon(id), PlainText(CommandInfoFor(id).menuText));
        item->setData(kCommandRole, id);
        item->setToolTip(CommandInfoFor(id).prompt.section(QLatin1Char('\n'), 0, 0));
        commands_->addItem(item);
    }
}

void CCustomizeToolbarsDlg::FillToolbars()
{
    for (const CToolbarManager::Bar& bar : toolbars_.Bars()) {
        auto* item = new QListWidgetItem(bar.title, bars_);
        item->setData(kBarRole, bar.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(bar.toolbar->isHidden() ? Qt::Unchecked : Qt::Checked);
    }
    bars_->setCurrentRow(0);
}

void CCustomizeToolbarsDlg::PrepareToolbar(QToolBar* toolbar)
{
    // While customising, presses on a button reach the toolbar, which drags it.
    toolbar->installEventFilter(this);
    toolbar->setAcceptDrops(true);
    for (QToolButton* button : toolbar->findChildren<QToolButton*>())
        button->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

int CCustomizeToolbarsDlg::BarIdOf(const QObject* toolbar) const
{
    for (const CToolbarManager::Bar& bar : toolbars_.Bars()) {
        if (bar.toolbar == toolbar)
            return bar.id;
    }
    return 0;
}

QMimeData* CCustomizeToolbarsDlg::CommandData(int commandId, int sourceBar, int sourceIndex)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMimeType),
                  QStringLiteral("%1 %2 %3").arg(commandId).arg(sourceBar).arg(sourceIndex).toLatin1());
    return data;
}

bool CCustomizeToolbarsDlg::DropCommand(QToolBar* toolbar, const QMimeData& data, QPoint position)
{
    DraggedCommand dragged;
    const int barId = BarIdOf(toolbar);
    if (!barId || !ReadCommand(data, dragged))
        return false;
    const QList<QAction*> actions = toolbar->actions();
    int index = actions.indexOf(toolbar->actionAt(position));
    if (index >= 0) {
        // Past the middle of a button the command goes after it.
        const QWidget* button = toolbar->widgetForAction(actions[index]);
        const QPoint centre = button ? button->geometry().center() : position;
        const bool after = toolbar->orientation() == Qt::Horizontal ? position.x() > centre.x()
                                                                    : position.y() > centre.y();
        if (after)
            ++index;
        if (index >= actions.size())
            index = -1;
    }
    if (dragged.sourceBar) {
        if (dragged.sourceBar == barId && (index == dragged.sourceIndex || index == dragged.sourceIndex + 1))
            return true;  // dropped where it was
        toolbars_.RemoveButton(dragged.sourceBar, dragged.sourceIndex);
        if (dragged.sourceBar == barId && index > dragged.sourceIndex)
            --index;
    }
    toolbars_.InsertButton(barId, dragged.command, index);
    return true;
}

void CCustomizeToolbarsDlg::StartButtonDrag(QToolBar* toolbar, QPoint position)
{
    QAction* action = toolbar->actionAt(position);
    const int index = toolbar->actions().indexOf(action);
    const QList<int> shown = toolbars_.Buttons(BarIdOf(toolbar));
    if (index < 0 || index >= shown.size() || shown[index] == CToolbarManager::kSeparator)
        return;
    const int barId = BarIdOf(toolbar);
    auto* drag = new QDrag(toolbar);
    drag->setMimeData(CommandData(shown[index], barId, index));
    if (QWidget* button = toolbar->widgetForAction(action))
        drag->setPixmap(button->grab());
    // Dropped anywhere but on a toolbar, the button is taken off.
    if (drag->exec(Qt::MoveAction) == Qt::IgnoreAction)
        toolbars_.RemoveButton(barId, index);
}

bool CCustomizeToolbarsDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* toolbar = qobject_cast<QToolBar*>(watched);
    if (!toolbar || !BarIdOf(toolbar))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !toolbar->actionAt(mouse->position().toPoint()))
            break;
        pressPosition_ = mouse->position().toPoint();
        pressedToolbar_ = toolbar;
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (pressedToolbar_ != toolbar || !(mouse->buttons() & Qt::LeftButton))
            break;
        if ((mouse->position().toPoint() - pressPosition_).manhattanLength() < QApplication::startDragDistance())
            return true;
        pressedToolbar_ = nullptr;
        StartButtonDrag(toolbar, pressPosition_);
        return true;
    }
    case QEvent::MouseButtonRelease:
        pressedToolbar_ = nullptr;
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasFormat(QString::fromLatin1(kMimeType))) {
            drag->setDropAction(drag->source() == toolbar || qobject_cast<QToolBar*>(drag->source())
                                    ? Qt::MoveAction
                                    : Qt::CopyAction);
            drag->accept();
            return true;
        }
        break;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (DropCommand(toolbar, *drop->mimeData(), drop->position().toPoint())) {
            drop->setDropAction(qobject_cast<QToolBar*>(drop->source()) ? Qt::MoveAction : Qt::CopyAction);
            drop->accept();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
