#include "view/VxEditAccessible.h"

#include "engine/VxEdit.h"
#include "view/CScrivoView.h"

#include <QAccessible>

#include <algorithm>

namespace {

QAccessibleInterface* MakeAccessible(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<CScrivoView*>(object))
        return new VxEditAccessible(view);
    return nullptr;
}

}  // namespace

VxEditAccessible::VxEditAccessible(CScrivoView* view)
    : QAccessibleWidget(view, QAccessible::EditableText)
{
}

void VxEditAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(MakeAccessible);
        return true;
    }();
    (void)installed;
}

void* VxEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State VxEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !View()->Controller().IsReadOnly();
    state.readOnly = View()->Controller().IsReadOnly();
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

CScrivoView* VxEditAccessible::View() const
{
    return static_cast<CScrivoView*>(widget());
}

QString VxEditAccessible::WholeText() const
{
    VxEdit& model = View()->Model();
    std::string text;
    model.CopyText(text, 0, 0, model.LastLine(), model.LineLength(model.LastLine()));
    return QString::fromStdString(text);
}

int VxEditAccessible::OffsetOf(const VxEditLineCol& position) const
{
    VxEdit& model = View()->Model();
    const std::int32_t line = std::clamp(position.line, 0, model.LastLine());
    const std::int32_t column = std::clamp(position.column, 0, model.LineLength(line));
    std::string text;
    model.CopyText(text, 0, 0, line, column);
    return static_cast<int>(QString::fromStdString(text).size());
}

VxEditLineCol VxEditAccessible::PositionAt(int offset) const
{
    const QByteArray before = WholeText().left(std::max(offset, 0)).toUtf8();
    VxEditLineCol position;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const char c = before[i];
        // LF, CR LF and a lone CR each end a line.
        if (c == '\n' || (c == '\r' && (i + 1 >= before.size() || before[i + 1] != '\n'))) {
            ++position.line;
            lineStart = i + 1;
        }
    }
    position.column = static_cast<std::int32_t>(before.size() - lineStart);
    // A CR that the offset separates from its LF still ends the line there.
    if (!before.isEmpty() && before.back() == '\r')
        position.column = std::max(0, position.column - 1);
    return position;
}

void VxEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    const VxEditController& controller = View()->Controller();
    if (selectionIndex != 0 || !controller.HasSelection())
        return;
    const VxEditLineColPair range = controller.Selection().Normalized();
    *startOffset = OffsetOf(range.start);
    *endOffset = OffsetOf(range.end);
}

int VxEditAccessible::selectionCount() const
{
    return View()->Controller().HasSelection() ? 1 : 0;
}

void VxEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void VxEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        View()->Controller().CancelSelection();
}

void VxEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    View()->Controller().SetSelection(PositionAt(startOffset), PositionAt(endOffset),
                                      VxEditSelection::kStream);
}

int VxEditAccessible::cursorPosition() const
{
    return OffsetOf(View()->Controller().Caret());
}

void VxEditAccessible::setCursorPosition(int position)
{
    const VxEditLineCol at = PositionAt(position);
    View()->Controller().CancelSelection();
    View()->Controller().SetCaret(at.line, at.column);
    View()->Controller().EnsureCaretVisible();
}

QString VxEditAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return WholeText();
    return QAccessibleWidget::text(kind);
}

QString VxEditAccessible::text(int startOffset, int endOffset) const
{
    if (endOffset < 0)
        return WholeText().mid(startOffset);
    return WholeText().mid(startOffset, std::max(0, endOffset - startOffset));
}

int VxEditAccessible::characterCount() const
{
    return static_cast<int>(WholeText().size());
}

QRect VxEditAccessible::characterRect(int offset) const
{
    CScrivoView* view = View();
    VxEditController& controller = view->Controller();
    const VxEditLineCol at = PositionAt(offset);
    const int x = view->Viewport().MarginWidth() + controller.PositionX(at) - view->ScrollX();
    const int y = at.line * view->LineHeight() - view->ScrollY();
    const QPoint topLeft = view->viewport()->mapToGlobal(QPoint(x, y));
    return QRect(topLeft, QSize(view->CharWidth(), view->LineHeight()));
}

int VxEditAccessible::offsetAtPoint(const QPoint& point) const
{
    CScrivoView* view = View();
    const QPoint local = view->viewport()->mapFromGlobal(point);
    int x = local.x() - view->Viewport().MarginWidth() + view->ScrollX();
    int y = local.y() + view->ScrollY();
    if (x < 0 || y < 0)
        return -1;
    return OffsetOf(view->Controller().PointToPosition(x, y, false));
}

void VxEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const VxEditLineCol at = PositionAt(startIndex);
    View()->Controller().SetCaret(at.line, at.column);
    View()->Controller().EnsureCaretVisible();
}

QString VxEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}
