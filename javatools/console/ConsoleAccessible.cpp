#include "javatools/console/ConsoleAccessible.h"

#include "javatools/console/ConsoleView.h"

namespace {

QAccessibleInterface* CreateConsoleAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("ConsoleView") && object && object->isWidgetType())
        return new ConsoleAccessible(static_cast<ConsoleView*>(object));
    return nullptr;
}

}  // namespace

ConsoleAccessible::ConsoleAccessible(ConsoleView* view)
    : QAccessibleWidget(view, QAccessible::Terminal)
{
}

ConsoleView* ConsoleAccessible::View() const
{
    return static_cast<ConsoleView*>(widget());
}

void* ConsoleAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

void ConsoleAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0)
        View()->SelectionOffsets(startOffset, endOffset);
}

int ConsoleAccessible::selectionCount() const
{
    return View()->HasSelection() ? 1 : 0;
}

void ConsoleAccessible::addSelection(int startOffset, int endOffset)
{
    View()->SetSelectionOffsets(startOffset, endOffset);
}

void ConsoleAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        View()->SetSelectionOffsets(0, 0);
}

void ConsoleAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        View()->SetSelectionOffsets(startOffset, endOffset);
}

int ConsoleAccessible::cursorPosition() const
{
    return View()->CursorOffset();
}

void ConsoleAccessible::setCursorPosition(int)
{
    // The caret is the program's: only the program moves it.
}

QString ConsoleAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return View()->Text();
    return QAccessibleWidget::text(t);
}

QString ConsoleAccessible::text(int startOffset, int endOffset) const
{
    const QString all = View()->Text();
    startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
    endOffset = endOffset < 0 ? static_cast<int>(all.size())
                              : std::clamp(endOffset, startOffset, static_cast<int>(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int ConsoleAccessible::characterCount() const
{
    return static_cast<int>(View()->Text().size());
}

QRect ConsoleAccessible::characterRect(int offset) const
{
    return View()->CharacterRect(offset);
}

int ConsoleAccessible::offsetAtPoint(const QPoint& point) const
{
    return View()->OffsetAt(point);
}

void ConsoleAccessible::scrollToSubstring(int startIndex, int)
{
    View()->ScrollToOffset(startIndex);
}

QString ConsoleAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

void InstallConsoleAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&CreateConsoleAccessible);
        return true;
    }();
    (void)installed;
}
