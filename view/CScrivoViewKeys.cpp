// The edit view's keys: the accelerator table's commands, typed text and
// input-method commits, and the caret's blink with the focus.
#include "view/CScrivoView.h"

#include "view/VxEditFindReplaceDialog.h"
#include "view/VxEditKeyTable.h"

#include <QKeyEvent>

bool CScrivoView::TakesKey(const QKeyEvent* event) const
{
    if (VxEditKeyTable::CommandFor(event->keyCombination()) != 0)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return !event->text().isEmpty() && event->text().at(0).isPrint() &&
           !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool CScrivoView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (TakesKey(key)) {
            key->accept();
            return true;
        }
    }
    // Tab and Shift+Tab edit here instead of moving the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CScrivoView::keyPressEvent(QKeyEvent* event)
{
    const int command = VxEditKeyTable::CommandFor(event->keyCombination());
    if (command != 0) {
        OnCommand(command);
        event->accept();
        return;
    }
    if (TakesKey(event)) {
        const QByteArray text = event->text().toUtf8();
        controller_.TypeText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CScrivoView::inputMethodEvent(QInputMethodEvent* event)
{
    const QByteArray text = event->commitString().toUtf8();
    if (!text.isEmpty())
        controller_.TypeText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    event->accept();
}

QVariant CScrivoView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return CaretRect().intersected(viewport()->rect()).translated(viewport()->pos());
    case Qt::ImFont:
        return viewport_.GetMetrics().Font();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return 0;
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection:
        return QString();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void CScrivoView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    controller_.OnFocusIn();
    // The open find dialog works on the edit window used last.
    if (VxEditFindReplaceDialog* dialog = VxEditFindReplaceDialog::Current())
        dialog->SetEditor(this);
    caretOn_ = true;
    blink_.start();
    viewport()->update(CaretRect());
}

void CScrivoView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    if (controller_.IsCaptured() || controller_.IsDragPending())
        controller_.OnCaptureLost();
    viewport()->update(CaretRect());
}
