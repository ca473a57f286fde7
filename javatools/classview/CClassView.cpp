#include "javatools/classview/CClassView.h"

#include "engine/VxScrivo.h"
#include "javatools/classview/DeclarationScanner.h"
#include "mvc/ICommandTarget.h"
#include "resources/CommandIds.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <algorithm>

// The icons are compiled into this library; a static library's resources
// are registered by hand, from the global namespace.
static void InitClassViewIcons()
{
    Q_INIT_RESOURCE(ClassViewIcons);
}

namespace {

// The kinds of VxScrivoMember; a declaration's kinds are its first four.
const QIcon& IconFor(int kind)
{
    static const QIcon icons[] = {
        QIcon(QStringLiteral(":/classview/class.svg")),
        QIcon(QStringLiteral(":/classview/interface.svg")),
        QIcon(QStringLiteral(":/classview/enum.svg")),
        QIcon(QStringLiteral(":/classview/record.svg")),
        QIcon(QStringLiteral(":/classview/constructor.svg")),
        QIcon(QStringLiteral(":/classview/method.svg")),
        QIcon(QStringLiteral(":/classview/field.svg")),
    };
    return icons[kind >= 0 && kind < 7 ? kind : 0];
}

// The index of a type's entry in the declaration list.
constexpr int kDeclarationRole = Qt::UserRole + 1;

QTreeWidgetItem* NewItem(const std::string& text, int line, int kind)
{
    const QString label = QString::fromStdString(text);
    auto* item = new QTreeWidgetItem(QStringList(label));
    item->setData(0, Qt::UserRole, line);
    item->setIcon(0, IconFor(kind));
    // A long signature shows whole when the pointer rests on it.
    item->setToolTip(0, label);
    return item;
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
    const VxScrivo& model = *model_;
    const std::vector<VxScrivoMember>& outline = model.Outline();
    // Every outline entry under its type; members keep the text's order.
    std::vector<QTreeWidgetItem*> items(outline.size(), nullptr);
    std::vector<bool> placed(outline.size(), false);
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const VxScrivoMember& member = outline[i];
        items[i] = NewItem(member.label, member.line, member.kind);
        if (member.parent >= 0 && static_cast<std::size_t>(member.parent) < i) {
            items[static_cast<std::size_t>(member.parent)]->addChild(items[i]);
            placed[i] = true;
        }
    }
    // The roots in the declaration list's order; a declaration the outline
    // does not know (a local class) still has its entry.
    QList<QTreeWidgetItem*> roots;
    const std::vector<VxScrivoDeclaration>& declarations = model.Declarations();
    for (std::size_t d = 0; d < declarations.size(); ++d) {
        const VxScrivoDeclaration& declaration = declarations[d];
        auto type = std::find_if(outline.begin(), outline.end(), [&declaration](const VxScrivoMember& m) {
            return m.IsType() && m.name == declaration.name && m.line == declaration.line;
        });
        QTreeWidgetItem* item = nullptr;
        if (type != outline.end()) {
            const auto index = static_cast<std::size_t>(type - outline.begin());
            item = items[index];
            if (placed[index])
                item = nullptr;
            placed[index] = true;
            items[index]->setData(0, kDeclarationRole, static_cast<int>(d));
        } else {
            item = NewItem(declaration.name, declaration.line, declaration.kind);
            item->setData(0, kDeclarationRole, static_cast<int>(d));
        }
        if (item)
            roots << item;
    }
    for (std::size_t i = 0; i < outline.size(); ++i) {
        if (!placed[i])
            roots << items[i];
    }
    addTopLevelItems(roots);
    expandAll();
}

int CClassView::SelectedIndex() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    // A member stands for the type it belongs to.
    for (QTreeWidgetItem* item = selected.isEmpty() ? nullptr : selected.first(); item; item = item->parent()) {
        const QVariant index = item->data(0, kDeclarationRole);
        if (index.isValid())
            return index.toInt();
    }
    return -1;
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
    // Back before the base announces the current item to screen readers;
    // coming in by key without one, the first item is current.
    if (!currentIndex().isValid()) {
        QModelIndex current = keptCurrent_;
        if (!current.isValid() && event->reason() != Qt::MouseFocusReason)
            current = model()->index(0, 0);
        if (current.isValid())
            selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    }
    keptCurrent_ = QPersistentModelIndex();
    QTreeWidget::focusInEvent(event);
}

void CClassView::focusOutEvent(QFocusEvent* event)
{
    QTreeWidget::focusOutEvent(event);
    if (hasFocus() || !currentIndex().isValid())
        return;
    keptCurrent_ = currentIndex();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void CClassView::keyPressEvent(QKeyEvent* event)
{
    const bool go = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                    event->key() == Qt::Key_Space;
    QTreeWidgetItem* item = currentItem();
    if (!go || !item || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    setCurrentItem(item);
    emit DeclarationActivated(item->data(0, Qt::UserRole).toInt());
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
