// The console's keys and typing: keys turned into the terminal's keys and
// characters, input-method commits, and the focus.
#include "javatools/console/ConsoleView.h"

#include "javatools/console/ConsoleSession.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>

namespace {

VTermModifier ModifiersOf(Qt::KeyboardModifiers modifiers)
{
    int result = VTERM_MOD_NONE;
    if (modifiers & Qt::ShiftModifier)
        result |= VTERM_MOD_SHIFT;
    if (modifiers & Qt::AltModifier)
        result |= VTERM_MOD_ALT;
    if (modifiers & Qt::ControlModifier)
        result |= VTERM_MOD_CTRL;
    return static_cast<VTermModifier>(result);
}

VTermKey TerminalKey(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VTERM_KEY_ENTER;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VTERM_KEY_TAB;
    case Qt::Key_Backspace:
        return VTERM_KEY_BACKSPACE;
    case Qt::Key_Escape:
        return VTERM_KEY_ESCAPE;
    case Qt::Key_Up:
        return VTERM_KEY_UP;
    case Qt::Key_Down:
        return VTERM_KEY_DOWN;
    case Qt::Key_Left:
        return VTERM_KEY_LEFT;
    case Qt::Key_Right:
        return VTERM_KEY_RIGHT;
    case Qt::Key_Insert:
        return VTERM_KEY_INS;
    case Qt::Key_Delete:
        return VTERM_KEY_DEL;
    case Qt::Key_Home:
        return VTERM_KEY_HOME;
    case Qt::Key_End:
        return VTERM_KEY_END;
    case Qt::Key_PageUp:
        return VTERM_KEY_PAGEUP;
    case Qt::Key_PageDown:
        return VTERM_KEY_PAGEDOWN;
    default:
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
            return static_cast<VTermKey>(VTERM_KEY_FUNCTION(key - Qt::Key_F1 + 1));
        return VTERM_KEY_NONE;
    }
}

// Function keys stay the editor's (compile, run, debug from the console too).
bool KeyForEditor(int key)
{
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

bool IsCopyKey(const QKeyEvent* key)
{
    return key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_C;
}

bool IsPasteKey(const QKeyEvent* key)
{
    return key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_V;
}

}  // namespace

bool ConsoleView::event(QEvent* event)
{
    // The program gets the keys the editor's menus would otherwise take
    // (Ctrl+C interrupts it rather than copying).
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!KeyForEditor(key->key())) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool ConsoleView::focusNextPrevChild(bool)
{
    return false;  // Tab is the program's
}

void ConsoleView::keyPressEvent(QKeyEvent* event)
{
    ConsoleScreen& screen = session_.Screen();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (IsCopyKey(event)) {
        Copy();
        return;
    }
    if (IsPasteKey(event)) {
        Paste();
        return;
    }
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        emit FocusReturnRequested();
        return;
    }
    // Ctrl+[ is ESC on every terminal.
    if (key == Qt::Key_BracketLeft && modifiers == Qt::ControlModifier) {
        session_.Write("\x1b", 1);
        ScrollToBottom();
        return;
    }
    if (modifiers == Qt::ShiftModifier && (key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
        verticalScrollBar()->triggerAction(key == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub
                                                                 : QAbstractSlider::SliderPageStepAdd);
        return;
    }
    const VTermModifier terminalModifiers = ModifiersOf(modifiers);
    if (const VTermKey terminalKey = TerminalKey(key); terminalKey != VTERM_KEY_NONE) {
        const VTermModifier withShift =
            key == Qt::Key_Backtab ? static_cast<VTermModifier>(terminalModifiers | VTERM_MOD_SHIFT)
                                   : terminalModifiers;
        screen.Key(terminalKey, withShift);
    } else if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
        screen.Character(U'a' + static_cast<char32_t>(key - Qt::Key_A), terminalModifiers);
    } else if ((modifiers & Qt::ControlModifier) &&
               (key == Qt::Key_At || key == Qt::Key_BracketLeft || key == Qt::Key_Backslash ||
                key == Qt::Key_BracketRight || key == Qt::Key_AsciiCircum ||
                key == Qt::Key_Underscore || key == Qt::Key_Space)) {
        screen.Character(static_cast<char32_t>(key), terminalModifiers);
    } else if (!event->text().isEmpty()) {
        const auto alt = static_cast<VTermModifier>(terminalModifiers & VTERM_MOD_ALT);
        for (char32_t ch : event->text().toUcs4()) {
            if (ch < 0x20 || ch == 0x7F) {
                const char byte = static_cast<char>(ch);
                session_.Write(&byte, 1);
            } else {
                screen.Character(ch, alt);
            }
        }
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    ScrollToBottom();
}

void ConsoleView::SendText(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    session_.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    ScrollToBottom();
}

void ConsoleView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        SendText(event->commitString());
    event->accept();
}

QVariant ConsoleView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const ConsoleScreen& screen = session_.Screen();
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle: {
        const int row = RowOfLine(screen.ScrollbackCount() + screen.CursorRow());
        return QRect(screen.CursorColumn() * cellWidth_, row * cellHeight_, cellWidth_, cellHeight_);
    }
    case Qt::ImFont:
        return font_;
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void ConsoleView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ConsoleView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
