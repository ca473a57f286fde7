#include "app/CFindResultsBar.h"

#include "engine/VxEditFileSearchRequest.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Where a match is, kept with its line of the list.
enum Role { kPath = Qt::UserRole, kLine, kColumn, kLength };

// A line of a minified file is shown cut; the match stays selectable.
constexpr int kShownText = 400;

}  // namespace

CFindResultsBar::CFindResultsBar(QWidget* parent)
    : QDockWidget(tr(kTitle), parent), list_(new QListWidget(this)), stop_(new QPushButton(tr("Stop"), this))
{
    setObjectName(QStringLiteral("FindResults"));
    list_->setUniformItemSizes(true);
    list_->setAccessibleName(tr(kTitle));
    list_->installEventFilter(this);
    stop_->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, &CFindResultsBar::StopRequested);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Show(list_->row(item)); });
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(list_, 1);
    layout->addWidget(stop_, 0, Qt::AlignLeft);
    setWidget(content);
}

void CFindResultsBar::Begin()
{
    list_->clear();
    shown_ = -1;
    stop_->setEnabled(true);
}

void CFindResultsBar::Add(const std::vector<VxEditFileMatch>& matches)
{
    for (const VxEditFileMatch& match : matches) {
        QString text = QString::fromUtf8(match.text.data(), static_cast<qsizetype>(match.text.size()));
        if (text.size() > kShownText)
            text = text.left(kShownText) + QStringLiteral("...");
        auto* item = new QListWidgetItem(
            QStringLiteral("%1:%2: %3").arg(QString::fromStdString(match.path)).arg(match.line).arg(text));
        item->setData(kPath, QString::fromStdString(match.path));
        item->setData(kLine, static_cast<int>(match.line));
        item->setData(kColumn, static_cast<int>(match.column));
        item->setData(kLength, static_cast<int>(match.length));
        list_->addItem(item);
    }
}

void CFindResultsBar::Finish(const QString& summary)
{
    list_->addItem(summary);
    stop_->setEnabled(false);
}

bool CFindResultsBar::IsSearching() const
{
    return stop_->isEnabled();
}

void CFindResultsBar::Show(int row)
{
    QListWidgetItem* item = list_->item(row);
    if (!item || item->data(kPath).isNull())
        return;
    shown_ = row;
    emit MatchActivated(item->data(kPath).toString(), item->data(kLine).toInt(), item->data(kColumn).toInt(),
                        item->data(kLength).toInt());
}

bool CFindResultsBar::Step(int step)
{
    const int count = list_->count();
    int row = shown_;
    for (int visited = 0; visited < count; ++visited) {
        row = row < 0 ? (step > 0 ? 0 : count - 1) : (row + step + count) % count;
        QListWidgetItem* item = list_->item(row);
        if (item->data(kPath).isNull())
            continue;
        // Selected, not made current: only a focused list has a current
        // item for screen readers.
        list_->selectionModel()->select(list_->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
        list_->scrollToItem(item);
        Show(row);
        return true;
    }
    return false;
}

void CFindResultsBar::FocusList()
{
    show();
    raise();
    if (list_->count() > 0)
        list_->setCurrentRow(std::max(shown_, 0));
    list_->setFocus(Qt::ShortcutFocusReason);
}

bool CFindResultsBar::eventFilter(QObject* watched, QEvent* event)
{
    // Only the list with the focus has a current item, which a screen
    // reader takes for the focused one; it is kept aside meanwhile.
    if (watched == list_ && event->type() == QEvent::FocusOut && !list_->hasFocus() &&
        list_->currentIndex().isValid()) {
        keptCurrent_ = list_->currentIndex();
        list_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else if (watched == list_ && event->type() == QEvent::FocusIn && !list_->currentIndex().isValid() &&
               keptCurrent_.isValid()) {
        list_->selectionModel()->setCurrentIndex(keptCurrent_, QItemSelectionModel::NoUpdate);
    }
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && IsSearching()) {
        emit StopRequested();
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}
