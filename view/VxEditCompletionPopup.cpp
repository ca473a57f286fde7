#include "view/VxEditCompletionPopup.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kVisibleRows = 10;

}  // namespace

VxEditCompletionPopup::VxEditCompletionPopup()
{
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(tr("Completions"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { ChooseCurrent(); });
}

QString VxEditCompletionPopup::RowText(const VxEditCompletion& candidate)
{
    QString text = QString::fromStdString(candidate.word);
    if (candidate.IsClass())
        text += QStringLiteral(" \u2014 ") + QString::fromStdString(candidate.package);
    return text;
}

void VxEditCompletionPopup::SetCandidates(const std::vector<VxEditCompletion>& candidates)
{
    const VxEditCompletion* before = Current();
    const VxEditCompletion kept = before ? *before : VxEditCompletion{};
    candidates_ = candidates;
    clear();
    int current = 0;
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        addItem(RowText(candidates_[i]));
        if (before && candidates_[i] == kept)
            current = static_cast<int>(i);
    }
    if (count() > 0)
        setCurrentRow(current);
}

const VxEditCompletion* VxEditCompletionPopup::Current() const
{
    const int row = currentRow();
    return row >= 0 && static_cast<std::size_t>(row) < candidates_.size() ? &candidates_[row] : nullptr;
}

void VxEditCompletionPopup::Open(QWidget* editor, const std::vector<VxEditCompletion>& candidates, const QPoint& at)
{
    Unwatch();
    editor_ = editor;
    candidates_.clear();
    clear();
    SetCandidates(candidates);
    FitToRows(at);
    show();
    editor_->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(editor_.data()))
        area->viewport()->installEventFilter(this);
}

// Wide enough for the longest row, high enough for ten, and kept on the
// screen: above the caret line when there is no room below it.
void VxEditCompletionPopup::FitToRows(const QPoint& at)
{
    int width = 0;
    for (int row = 0; row < count(); ++row)
        width = std::max(width, fontMetrics().horizontalAdvance(item(row)->text()));
    const int rowHeight = std::max(sizeHintForRow(0), fontMetrics().height());
    const int rows = std::min(count(), kVisibleRows);
    QSize size(width + 2 * frameWidth() + verticalScrollBar()->sizeHint().width() + 8,
               rows * rowHeight + 2 * frameWidth());
    QPoint place = at;
    if (const QScreen* screen = QGuiApplication::screenAt(at)) {
        const QRect room = screen->availableGeometry();
        size.setWidth(std::min(size.width(), room.width()));
        if (place.y() + size.height() > room.bottom() && editor_)
            place.ry() -= size.height() + editor_->fontMetrics().height();
        place.setX(std::clamp(place.x(), room.left(), std::max(room.left(), room.right() - size.width())));
    }
    resize(size);
    move(place);
}

void VxEditCompletionPopup::ChooseCurrent()
{
    const VxEditCompletion* current = Current();
    if (!current)
        return;
    const VxEditCompletion chosen = *current;
    hide();
    emit Chosen(chosen);
}

bool VxEditCompletionPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (!editor_ || !isVisible())
        return QListWidget::eventFilter(watched, event);
    if (watched != editor_) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel)
            hide();
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ChooseCurrent();
            return true;
        case Qt::Key_Escape:
            hide();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            keyPressEvent(key);
            return true;
        default:
            // The editor takes the key first; the list follows its text.
            QMetaObject::invokeMethod(this, &VxEditCompletionPopup::KeyPassedOn, Qt::QueuedConnection);
            return false;
        }
    }
    case QEvent::InputMethod:
        QMetaObject::invokeMethod(this, &VxEditCompletionPopup::KeyPassedOn, Qt::QueuedConnection);
        return false;
    case QEvent::FocusOut:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        hide();
        return false;
    default:
        return false;
    }
}

void VxEditCompletionPopup::Unwatch()
{
    if (!editor_)
        return;
    editor_->removeEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(editor_.data()))
        area->viewport()->removeEventFilter(this);
}

void VxEditCompletionPopup::hideEvent(QHideEvent* event)
{
    Unwatch();
    QListWidget::hideEvent(event);
}
