#include "javatools/classview/CClassView.h"

#include "engine/VxScrivo.h"
#include "javatools/classview/DeclarationScanner.h"
#include "mvc/ICommandTarget.h"
#include "resources/CommandIds.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QTimer>

// The icons are compiled into this library; a static library's resources
// are registered by hand, from the global namespace.
static void InitClassViewIcons()
{
    Q_INIT_RESOURCE(ClassViewIcons);
}

namespace {

const QIcon& IconFor(int kind)
{
    static const QIcon icons[] = {
        QIcon(QStringLiteral(":/classview/class.svg")),
        QIcon(QStringLiteral(":/classview/interface.svg")),
        QIcon(QStringLiteral(":/classview/enum.svg")),
        QIcon(QStringLiteral(":/classview/record.svg")),
    };
    return icons[kind >= 0 && kind < 4 ? kind : 0];
}

}  // namespace

CClassView::CClassView(VxScrivo& model, QWidget* parent)
    : QTreeWidget(parent), model_(&model)
{
    InitClassViewIcons();
    stepper_ = new QTimer(this);
    connect(stepper_, &QTimer::timeout, this, &CClassView::StepRefresh);
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
}

CClassView::~CClassView() = default;

void CClassView::Refresh()
{
    pending_.reset();
    stepper_->stop();
    DeclarationScanner::Rebuild(*model_);
    FillTree();
}

void CClassView::RefreshInSteps()
{
    pending_ = std::make_unique<DeclarationScanner>(*model_);
    // The first step waits a little, so that the window's first paints and
    // the user's first keys come before it.
    constexpr int kFirstStepDelay = 200;
    stepper_->start(kFirstStepDelay);
}

void CClassView::StepRefresh()
{
    // About a hundredth of a second of work a step.
    constexpr std::int64_t kStepBytes = 4 << 20;
    stepper_->setInterval(0);
    if (!pending_ || !pending_->Step(kStepBytes))
        return;
    pending_.reset();
    stepper_->stop();
    FillTree();
}

void CClassView::FillTree()
{
    clear();
    VxScrivo& model = *model_;
    QList<QTreeWidgetItem*> items;
    for (const VxScrivoDeclaration& declaration : model.Declarations()) {
        auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(declaration.name)));
        item->setData(0, Qt::UserRole, declaration.line);
        item->setIcon(0, IconFor(declaration.kind));
        items << item;
    }
    addTopLevelItems(items);
}

int CClassView::SelectedIndex() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

int CClassView::SelectedLine() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(0, Qt::UserRole).toInt();
}

void CClassView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
        setCurrentItem(item);
    returnFocusPending_ = true;
    emit DeclarationActivated(SelectedLine());
}

void CClassView::focusInEvent(QFocusEvent* event)
{
    if (returnFocusPending_) {
        returnFocusPending_ = false;
        emit FocusReturnRequested();
        return;
    }
    QTreeWidget::focusInEvent(event);
}

QMenu* CClassView::CreatePopup(QWidget* parent)
{
    struct Entry {
        int id;
        const char* text;
    };
    static constexpr Entry kEntries[] = {
        {cmd::kInsertMethod, "Add &Method"}, {cmd::kInsertMemberVariable, "Add &Variable"},
        {0, nullptr},
        {cmd::kInsertClass, "New &Class"},   {cmd::kInsertInterface, "New &Interface"},
        {0, nullptr},
        {cmd::kViewRefreshClasses, "&Refresh Class View"},
    };
    auto* menu = new QMenu(QStringLiteral("Tree popup"), parent);
    for (const Entry& entry : kEntries) {
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromLatin1(entry.text));
        tarrow::foundation::CommandState state;
        state.enabled = commandTarget_ && commandTarget_->OnUpdateCommand(entry.id, state) && state.enabled;
        action->setEnabled(state.enabled);
        const int id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (commandTarget_)
                commandTarget_->OnCommand(id);
        });
    }
    return menu;
}

void CClassView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        if (QTreeWidgetItem* item = itemAt(event->pos()))
            setCurrentItem(item);
    }
    QMenu* menu = CreatePopup(this);
    menu->exec(event->globalPos());
    delete menu;
}
