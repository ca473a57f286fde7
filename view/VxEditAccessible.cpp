#include "view/VxEditAccessible.h"

#include "engine/VxEdit.h"
#include "engine/VxEditTextCommand.h"
#include "engine/VxEditUtf16Index.h"
#include "view/CScrivoView.h"

#include <QAccessible>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <limits>
#include <string>

namespace {

QAccessibleInterface* MakeAccessible(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<CScrivoView*>(object))
        return new VxEditAccessible(view);
    return nullptr;
}

}  // namespace

VxEditAccessible::VxEditAccessible(CScrivoView* view)
    : QAccessibleWidget(view, QAccessible::EditableText), model_(&view->Model()),
      offsets_(std::make_unique<VxEditUtf16Index>(view->Model()))
{
    model_->Attach(this);
}

VxEditAccessible::~VxEditAccessible()
{
    model_->Detach(this);
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

namespace {

QString ToQString(const std::string& bytes)
{
    std::u16string units;
    VxEditUtf16Index::AppendUtf16(units, bytes.data(), bytes.size());
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

// Offsets go to Qt as int; a text past that is answered up to it.
int Clamped(std::int64_t offset)
{
    return static_cast<int>(std::min<std::int64_t>(offset, std::numeric_limits<int>::max()));
}

}  // namespace

int VxEditAccessible::OffsetOf(const VxEditLineCol& position) const
{
    return Clamped(offsets_->OffsetOf(position));
}

VxEditLineCol VxEditAccessible::PositionAt(int offset) const
{
    return offsets_->PositionAt(offset);
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
    // The value of a text is its text; a reader asks for pieces of it
    // through the text interface instead, so a long one is not copied.
    constexpr int kWholeTextUpTo = 1 << 16;
    if (kind == QAccessible::Value)
        return characterCount() <= kWholeTextUpTo ? text(0, -1) : QString();
    return QAccessibleWidget::text(kind);
}

QString VxEditAccessible::text(int startOffset, int endOffset) const
{
    const int count = characterCount();
    if (endOffset < 0 || endOffset > count)
        endOffset = count;
    startOffset = std::clamp(startOffset, 0, endOffset);
    if (startOffset == endOffset)
        return {};
    // The whole characters and line ends between the two offsets.
    const VxEditLineCol from = PositionAt(startOffset);
    VxEditLineCol to = PositionAt(endOffset);
    VxEdit& model = View()->Model();
    std::string bytes;
    if (endOffset >= count)
        to = VxEditLineCol(model.LastLine(), model.LineLength(model.LastLine()));
    else if (OffsetOf(to) < endOffset)  // the end falls into a line end
        to = VxEditLineCol(to.line + 1, 0);
    model.CopyText(bytes, from.line, from.column, to.line, to.column);
    const QString whole = ToQString(bytes);
    return whole.mid(startOffset - OffsetOf(from), endOffset - startOffset);
}

QString VxEditAccessible::LineAt(int offset, int* startOffset, int* endOffset) const
{
    const VxEditLineCol at = PositionAt(offset);
    VxEdit& model = View()->Model();
    *startOffset = OffsetOf(VxEditLineCol(at.line, 0));
    *endOffset = at.line < model.LastLine() ? OffsetOf(VxEditLineCol(at.line + 1, 0)) : characterCount();
    return text(*startOffset, *endOffset);
}

QString VxEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                       int* endOffset) const
{
    const int count = characterCount();
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > count)
        return {};
    if (boundaryType == QAccessible::NoBoundary) {
        *startOffset = 0;
        *endOffset = count;
        return text(0, count);
    }
    if (offset == count && offset > 0)
        --offset;
    int lineStart = 0;
    int lineEnd = 0;
    const QString line = LineAt(offset, &lineStart, &lineEnd);
    if (boundaryType == QAccessible::LineBoundary || boundaryType == QAccessible::ParagraphBoundary) {
        *startOffset = lineStart;
        *endOffset = lineEnd;
        return line;
    }
    // Characters, words and sentences within the line, as Qt finds them.
    QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
    if (boundaryType == QAccessible::WordBoundary)
        type = QTextBoundaryFinder::Word;
    else if (boundaryType == QAccessible::SentenceBoundary)
        type = QTextBoundaryFinder::Sentence;
    QTextBoundaryFinder finder(type, line);
    finder.setPosition(offset - lineStart);
    const int at = finder.isAtBoundary() ? finder.position() : static_cast<int>(finder.toPreviousBoundary());
    finder.setPosition(std::max(at, 0));
    const int next = static_cast<int>(finder.toNextBoundary());
    *startOffset = lineStart + std::max(at, 0);
    *endOffset = lineStart + (next < 0 ? static_cast<int>(line.size()) : next);
    return line.mid(std::max(at, 0), *endOffset - *startOffset);
}

QString VxEditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    if (start <= 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
}

QString VxEditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    if (end < 0 || end >= characterCount()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return textAtOffset(end, boundaryType, startOffset, endOffset);
}

int VxEditAccessible::characterCount() const
{
    return Clamped(offsets_->Units());
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

void VxEditAccessible::OnNewText()
{
    offsets_->OnNewText();
    // A new text: said without its content, which readers ask for.
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent changed(widget(), 0, QString(), QString());
        QAccessible::updateAccessibility(&changed);
    }
}

void VxEditAccessible::OnTextCommand(const VxEditTextCommand& command)
{
    // The offsets follow first; the announcement then reads them.
    offsets_->OnTextCommand(command);
    if (!QAccessible::isActive())
        return;
    const VxEditLineColPair range = command.Range().Normalized();
    const int position = OffsetOf(range.start);
    if (command.LastActionWasInsertion()) {
        std::string inserted;
        model_->CopyText(inserted, range);
        QAccessibleTextInsertEvent event(widget(), position, ToQString(inserted));
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextRemoveEvent event(widget(), position, ToQString(command.Text()));
        QAccessible::updateAccessibility(&event);
    }
}
