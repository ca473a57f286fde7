#include "view/VxEditViewport.h"

#include "controller/VxEditController.h"
#include "engine/VxEdit.h"
#include "engine/VxEditCompositeCommand.h"
#include "engine/VxEditLongLineColumns.h"
#include "engine/VxEditTextCommand.h"
#include "language/VxEditLangConfig.h"
#include "mvc/VxEditMsg.h"
#include "view/IVxEditViewportHost.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

using tarrow::foundation::IMessage;
using tarrow::foundation::ISubject;

namespace {

// An edit of more lines than this leaves their widths to be learned when
// they are painted.
constexpr std::int32_t kMeasuredEditLines = 1000;

}  // namespace

VxEditViewport::VxEditViewport(VxEdit& model) : model_(model)
{
    metrics_.Rebuild(model_);
    model_.Attach(this);
}

VxEditViewport::~VxEditViewport()
{
    model_.Detach(this);
}

VxEditLangConfig* VxEditViewport::GetLangConfig() const
{
    return model_.GetLangConfig();
}

int VxEditViewport::MarginWidth() const
{
    return controller_ ? controller_->MarginWidth() : 0;
}

void VxEditViewport::SetScrollOrigin(int x, int y)
{
    const int charWidth = metrics_.CharWidth();
    const int lineHeight = metrics_.LineHeight();
    scrollX_ = std::max(x, 0) / charWidth * charWidth;
    scrollY_ = std::max(y, 0) / lineHeight * lineHeight;
}

int VxEditViewport::LongestLineColumns()
{
    return longestColumns_;
}

void VxEditViewport::NoteWidth(std::int32_t line)
{
    const std::int32_t bytes = model_.LineLength(line);
    // A line of megabytes counts one column a byte rather than being
    // measured character by character on every paint.
    const std::int32_t columns = bytes > VxEditLongLineColumns::kLongLine ? bytes : model_.DisplayLength(line);
    if (columns > longestColumns_) {
        longestColumns_ = columns;
        widthGrew_ = true;
    }
}

QSize VxEditViewport::DocumentExtent()
{
    return QSize(LongestLineColumns() * metrics_.CharWidth(), model_.LineCount() * metrics_.LineHeight());
}

// Notifications

void VxEditViewport::Update(ISubject* subject, IMessage* message)
{
    if (!host_)
        return;
    const int id = message ? message->GetId() : 0;
    switch (id) {
    case kMsgInvalidateGutter:
        host_->RepaintMargin();
        return;
    case kMsgInvalidateLines:
        if (auto* paint = dynamic_cast<VxEditPaintMsg*>(message))
            host_->RepaintLines(paint->FirstLine(), paint->LastLine());
        return;
    case kMsgCompositeCommand:
        if (auto* composite = dynamic_cast<VxEditCompositeCommand*>(message))
            composite->ForwardToObserver(*this, subject);
        return;
    case kMsgInitController:
        longestColumns_ = 0;
        SetScrollOrigin(0, 0);
        host_->ExtentChanged();
        host_->RepaintAll();
        return;
    case kMsgTextCommand:
        FollowTextCommand(message);
        return;
    case kMsgFontUpdate:
    case kMsgInvalidateColouring:
        metrics_.Rebuild(model_);
        longestColumns_ = 0;
        SetScrollOrigin(scrollX_, scrollY_);
        host_->ExtentChanged();
        host_->RepaintAll();
        return;
    case kMsgSplitterSync:
        host_->FollowActivePane();
        return;
    case kMsgOverwriteChanged:
        // Nothing drawn here depends on it.
        return;
    default:
        host_->ExtentChanged();
        host_->RepaintAll();
        return;
    }
}

void VxEditViewport::FollowTextCommand(IMessage* message)
{
    auto* command = dynamic_cast<VxEditTextCommand*>(message);
    if (!command) {
        host_->RepaintAll();
        return;
    }
    const VxEditLineColPair range = command->Range().Normalized();
    const std::int32_t last = command->LastActionWasInsertion() ? range.end.line : range.start.line;
    if (last - range.start.line < kMeasuredEditLines) {
        for (std::int32_t line = range.start.line; line <= last && line <= model_.LastLine(); ++line)
            NoteWidth(line);
    }
    if (range.start.line == range.end.line) {
        host_->RepaintLines(range.start.line, range.start.line);
        return;
    }
    host_->RepaintLines(range.start.line, model_.LastLine());
    host_->ExtentChanged();
}

// Drawing

VxEditViewport::LineSelection VxEditViewport::SelectionOn(std::int32_t line, std::int32_t length) const
{
    LineSelection selection;
    if (!controller_ || !controller_->HasSelection())
        return selection;
    const VxEditSelection& current = controller_->Selection();
    if (current.IsColumn()) {
        selection.column = true;
        selection.selected = controller_->ColumnSpan(line, selection.start, selection.end);
        return selection;
    }
    const VxEditLineColPair range = current.Normalized();
    if (line < range.start.line || line > range.end.line)
        return selection;
    selection.start = line == range.start.line ? range.start.column : 0;
    selection.end = line == range.end.line ? range.end.column : length;
    selection.beforeEndLine = line != range.end.line;
    selection.selected = line != range.end.line || range.end.column != 0;
    return selection;
}

void VxEditViewport::Draw(QPainter& painter, const QRect& clip, const QPalette& palette)
{
    const VxEditColours colours(GetLangConfig(), palette);
    const int lineHeight = metrics_.LineHeight();
    const int margin = MarginWidth();
    painter.save();
    painter.setFont(metrics_.Font());

    const int top = clip.top() + scrollY_;
    const int bottom = clip.bottom() + scrollY_;
    const std::int32_t first = std::max(top / lineHeight, 0);
    const std::int32_t last = std::min(bottom / lineHeight, model_.LastLine());
    const int right = clip.right() + 1;

    const QRect textArea = clip.intersected(QRect(margin, clip.top(), std::max(right - margin, 0), clip.height()));
    if (!textArea.isEmpty()) {
        painter.setClipRect(textArea);
        const int left = margin - scrollX_;
        for (std::int32_t line = first; line <= last; ++line) {
            NoteWidth(line);
            DrawLine(painter, line, line * lineHeight - scrollY_, left, right, colours);
        }
        const int below = (std::max(last, first - 1) + 1) * lineHeight - scrollY_;
        if (below <= clip.bottom())
            painter.fillRect(QRect(textArea.left(), below, textArea.width(), clip.bottom() + 1 - below),
                             colours.Text().background);
        painter.setClipping(false);
    }
    if (margin > 0 && clip.left() < margin)
        DrawMargin(painter, first, last, palette);
    painter.restore();
    // The scroll bars learn of a wider line once it is on screen.
    if (std::exchange(widthGrew_, false) && host_)
        host_->ExtentChanged();
}

void VxEditViewport::DrawLine(QPainter& painter, std::int32_t line, int y, int left, int right,
                              const VxEditColours& colours)
{
    // The runs first: working them out may move the text store's gap, which
    // would leave an earlier pointer to the line's text stale.
    const std::vector<ColorRun>* runs = model_.LineLength(line) > 0 ? model_.GetColourRuns(line) : nullptr;
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(line, text, length);
    const LineSelection selection = SelectionOn(line, length);
    const VxEditLangConfig* config = GetLangConfig();
    const bool showWhitespace = config && config->GetShowWhitespace();
    const int textGroup = config ? config->GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup) : 0;

    const ColorRun wholeLine = MakeColorRun(0, textGroup);
    const ColorRun* run = &wholeLine;
    const ColorRun* runsEnd = &wholeLine + 1;
    if (runs && !runs->empty()) {
        run = runs->data();
        runsEnd = runs->data() + runs->size();
    }
    const VxEditColourPair firstRun = colours.Group(ColorRunGroup(*run));

    // Only the columns on screen are drawn: a line of megabytes in a
    // fixed-pitch face starts at the first visible cell and stops after
    // the last one. Other lines are drawn from their start.
    std::int32_t from = 0;
    std::int32_t to = length;
    int x = left;
    if (const double cell = metrics_.CellAdvance(); length >= VxEditLongLineColumns::kLongLine && cell > 0) {
        const int visibleLeft = VxEditFontMetrics::VisibleRect(painter).left();
        std::int32_t snapped = 0;
        from = model_.DisplayToCharCol(std::max(static_cast<std::int32_t>((visibleLeft - left) / cell), 0), line,
                                       &snapped);
        to = model_.DisplayToCharCol(static_cast<std::int32_t>((right - left) / cell) + 2, line);
        x = left + static_cast<int>(std::lround(snapped * cell));
    }

    std::int32_t column = 0;
    for (; run != runsEnd && column < to; ++run) {
        if (x >= right)
            return;
        const auto given = static_cast<std::int32_t>(ColorRunLength(*run));
        const std::int32_t runLength = given == 0 ? length - column : std::min(given, length - column);
        const std::int32_t start = std::max(column, from);
        const std::int32_t end = std::min(column + runLength, to);
        if (start < end)
            x += DrawChunk(painter, x, y, text + start, end - start, start, colours.Group(ColorRunGroup(*run)),
                           showWhitespace, selection, left, colours);
        column += runLength;
    }
    column = std::max(column, from);
    if (column < to && x < right) {
        x += DrawChunk(painter, x, y, text + column, to - column, column, colours.Text(),
                       showWhitespace, selection, left, colours);
    }
    if (to >= length && x < right)
        DrawBlankCells(painter, line, x, y, right, length, selection, firstRun, colours);
    DrawMatchedBraces(painter, line, y, left);
}

// A translucent blue over each bracket of the pair at the caret: it tints
// whatever colours lie below, so it reads on light and dark backgrounds.
void VxEditViewport::DrawMatchedBraces(QPainter& painter, std::int32_t line, int y, int left)
{
    VxEditLineCol pair[2];
    if (!controller_ || !controller_->HighlightedBraces(pair[0], pair[1]))
        return;
    for (const VxEditLineCol& bracket : pair) {
        if (bracket.line != line)
            continue;
        const int from = controller_->PositionX(bracket);
        const int to = controller_->PositionX(VxEditLineCol(line, bracket.column + 1));
        painter.fillRect(QRect(left + from, y, std::max(to - from, 1), metrics_.LineHeight()),
                         QColor(0x30, 0x90, 0xFF, 0x70));
    }
}

void VxEditViewport::DrawBlankCells(QPainter& painter, std::int32_t line, int x, int y, int right,
                                    std::int32_t length, const LineSelection& selection,
                                    const VxEditColourPair& firstRun, const VxEditColours& colours)
{
    const int lineHeight = metrics_.LineHeight();
    const int cell = metrics_.SpaceWidth();
    int cells = (right - x) / metrics_.CharWidth() + 1;
    const auto fill = [&](int count, const QColor& colour) {
        count = std::min(count, cells);
        if (count <= 0)
            return;
        painter.fillRect(QRect(x, y, count * cell, lineHeight), colour);
        x += count * cell;
        cells -= count;
    };

    if (selection.selected && selection.start > length)
        fill(selection.start - length, colours.Text().background);
    if (model_.TestMark(line, VxEdit::kMarkHighlight))
        fill(cells, firstRun.background);
    if (selection.selected) {
        const VxEditLangConfig* config = GetLangConfig();
        if (!selection.column && selection.beforeEndLine)
            fill(config && config->GetVirtualWhitespace() ? cells : 1, colours.Selection().background);
        else
            fill(selection.end - std::max(selection.start, length), colours.Selection().background);
    }
    if (x < right)
        painter.fillRect(QRect(x, y, right - x, lineHeight), colours.Text().background);
}

int VxEditViewport::DrawChunk(QPainter& painter, int x, int y, const char* text, int length,
                              std::int32_t column, const VxEditColourPair& pair, bool showWhitespace,
                              const LineSelection& selection, int origin, const VxEditColours& colours)
{
    if (!showWhitespace)
        return DrawPlain(painter, x, y, text, length, column, pair, selection, origin, colours);
    int width = 0;
    int at = 0;
    while (at < length) {
        int blank = at;
        while (blank < length && text[blank] != ' ' && text[blank] != '\t')
            ++blank;
        width += DrawPlain(painter, x + width, y, text + at, blank - at, column + at, pair, selection,
                           origin, colours);
        if (blank >= length)
            break;
        // The blank itself keeps its background and tab expansion; its
        // visible glyph is drawn over its first cell.
        const int glyphX = x + width;
        width += DrawPlain(painter, glyphX, y, text + blank, 1, column + blank, pair, selection, origin,
                           colours);
        const bool selected = selection.selected && column + blank >= selection.start &&
                              column + blank < selection.end;
        painter.setPen(selected ? colours.Selection().foreground : pair.foreground);
        painter.drawText(glyphX, y + metrics_.Ascent(),
                         text[blank] == '\t' ? metrics_.TabGlyph() : metrics_.SpaceGlyph());
        at = blank + 1;
    }
    return width;
}

int VxEditViewport::DrawPlain(QPainter& painter, int x, int y, const char* text, int length,
                              std::int32_t column, const VxEditColourPair& pair,
                              const LineSelection& selection, int origin, const VxEditColours& colours)
{
    if (length <= 0)
        return 0;
    if (!selection.selected || selection.end <= column || selection.start >= column + length ||
        selection.start >= selection.end)
        return metrics_.Draw(painter, x, y, text, length, origin, pair.foreground, pair.background);
    const int from = std::clamp(selection.start - column, 0, length);
    const int to = std::clamp(selection.end - column, 0, length);
    int width = 0;
    width += metrics_.Draw(painter, x, y, text, from, origin, pair.foreground, pair.background);
    width += metrics_.Draw(painter, x + width, y, text + from, to - from, origin,
                           colours.Selection().foreground, colours.Selection().background);
    width += metrics_.Draw(painter, x + width, y, text + to, length - to, origin, pair.foreground,
                           pair.background);
    return width;
}

// The margin

void VxEditViewport::DrawMargin(QPainter& painter, std::int32_t first, std::int32_t last,
                                const QPalette& palette)
{
    const int margin = MarginWidth();
    const int lineHeight = metrics_.LineHeight();
    const int rows = std::max(last - first + 1, 0);
    const int top = first * lineHeight - scrollY_;
    const int height = std::max(rows * lineHeight, painter.device()->height() - top);
    if (height <= 0)
        return;
    // Drawn off-screen and copied in one piece, so the strip never flickers.
    QImage strip(margin, height, QImage::Format_ARGB32_Premultiplied);
    QPainter stripPainter(&strip);
    stripPainter.setFont(metrics_.Font());
    DrawMarginBackground(stripPainter, QRect(0, 0, margin, height), palette);
    for (std::int32_t line = first; line <= last; ++line) {
        const QRect cell(0, (line - first) * lineHeight, margin, lineHeight);
        DrawLineLabel(line, stripPainter, cell, palette);
        DrawLineMarks(line, stripPainter, cell);
    }
    stripPainter.end();
    painter.drawImage(0, top, strip);
}

void VxEditViewport::DrawMarginBackground(QPainter& painter, const QRect& rect, const QPalette& palette)
{
    painter.fillRect(rect, palette.color(QPalette::Button));
    painter.setPen(Qt::black);
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
}

void VxEditViewport::DrawLineLabel(std::int32_t line, QPainter& painter, const QRect& rect,
                                   const QPalette& palette)
{
    if (!controller_)
        return;
    const int style = controller_->GetMarginStyle();
    if (style == VxEditController::kMarginStyleNone || style == VxEditController::kMarginStyleSelection)
        return;
    const std::string label = controller_->LineLabel(line);
    if (label.empty())
        return;
    painter.setPen(palette.color(QPalette::ButtonText));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(label));
}

void VxEditViewport::DrawLineMarks(std::int32_t line, QPainter& painter, const QRect& rect)
{
    DrawMarkC(line, painter, rect);
    DrawMarkB(line, painter, rect);
    DrawMarkA(line, painter, rect);
    DrawLineNumber(line, painter, rect);
}

void VxEditViewport::DrawMarkA(std::int32_t line, QPainter& painter, const QRect& rect)
{
    if (!model_.TestMark(line, VxEdit::kMarkBreakpoint))
        return;
    const int smaller = std::min(rect.width(), rect.height());
    int size = smaller - 3;
    if (size % 2 != 0)
        size = smaller - 2;
    if (size <= 3)
        return;
    const QColor red = VxEditColours::FromColorRef(0x000080);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(red);
    painter.setBrush(red);
    painter.drawEllipse(rect.left() + 2, rect.top() + (rect.height() - size) / 2 + 1, size, size);
    painter.restore();
}

void VxEditViewport::DrawMarkB(std::int32_t line, QPainter& painter, const QRect& rect)
{
    if (!model_.TestMark(line, VxEdit::kMarkBookmark))
        return;
    painter.save();
    painter.setPen(Qt::black);
    painter.setBrush(VxEditColours::FromColorRef(0xFFFF00));
    painter.drawRoundedRect(QRect(rect.left(), rect.top(), rect.width() - 1, rect.height()).adjusted(0, 0, -1, -1),
                            3, 3);
    painter.restore();
}
