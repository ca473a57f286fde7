#include "view/CScrivoView.h"

#include "controller/VxEditTextFit.h"
#include "engine/VxEdit.h"
#include "resources/CommandIds.h"
#include "view/VxEditKeyTable.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

using tarrow::foundation::CommandState;

namespace {

constexpr int kCaretWidth = 2;
constexpr int kBlinkMilliseconds = 530;
constexpr int kWheelNotch = 120;
constexpr int kLinesPerNotch = 2;
// Columns of room to the right of the longest line, as far as the caret
// scrolls past an edge.
constexpr int kSpareColumns = 8;

}  // namespace

CScrivoView::CScrivoView(VxEdit& model, QWidget* parent)
    : QAbstractScrollArea(parent),
      model_(&model),
      viewport_(model),
      controller_(model, *this, clipboard_)
{
    viewport_.SetScrivoController(&controller_);
    viewport_.SetHost(this);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    blink_.setInterval(kBlinkMilliseconds);
    connect(&blink_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        viewport()->update(CaretRect());
    });
    controller_.SetCaretStatusHandler(
        [this](const std::string& both, const std::string& line, const std::string& column) {
            emit CaretStatusChanged(QString::fromStdString(both));
            emit CaretPositionChanged(QString::fromStdString(line), QString::fromStdString(column));
        });
    controller_.SetOverwriteHandler([this](bool overwrite) { emit OverwriteChanged(overwrite); });
    UpdateScrollBars();
}

CScrivoView::~CScrivoView()
{
    viewport_.SetHost(nullptr);
    controller_.SetCaretStatusHandler({});
    controller_.SetOverwriteHandler({});
}

bool CScrivoView::OnCommand(int id)
{
    return controller_.OnCommand(id);
}

bool CScrivoView::OnUpdateCommand(int id, CommandState& state)
{
    return controller_.OnUpdateCommand(id, state);
}

QString CScrivoView::LineAndColumnText() const
{
    return QString::fromStdString(controller_.LineAndColumnText());
}

QString CScrivoView::LineText() const
{
    return QString::fromStdString(controller_.LineText());
}

QString CScrivoView::ColumnText() const
{
    return QString::fromStdString(controller_.ColumnText());
}

void CScrivoView::Render(QPainter& painter, const QRect& clip)
{
    viewport_.Draw(painter, clip, palette());
}

// IVxEditView

int CScrivoView::LineHeight() const
{
    return viewport_.GetMetrics().LineHeight();
}

int CScrivoView::CharWidth() const
{
    return viewport_.GetMetrics().CharWidth();
}

int CScrivoView::SpaceWidth() const
{
    return viewport_.GetMetrics().SpaceWidth();
}

int CScrivoView::TextExtent(const char* text, int length) const
{
    return viewport_.GetMetrics().Extent(text, length);
}

int CScrivoView::Fit(const char* text, int length, int width, bool printing) const
{
    const VxEditFontMetrics& metrics = viewport_.GetMetrics();
    return VxEditTextFit::Fit(text, length, width, printing, metrics.CharWidth(),
                              [&](int bytes) { return metrics.Extent(text, bytes); });
}

int CScrivoView::ClientWidth() const
{
    return std::max(viewport()->width() - viewport_.MarginWidth(), 0);
}

int CScrivoView::ClientHeight() const
{
    return viewport()->height();
}

int CScrivoView::ScrollX() const
{
    return viewport_.ScrollX();
}

int CScrivoView::ScrollY() const
{
    return viewport_.ScrollY();
}

void CScrivoView::ScrollTo(int x, int y)
{
    const int columns = std::max(x, 0) / CharWidth();
    const int lines = std::max(y, 0) / LineHeight();
    syncingScrollBars_ = true;
    if (columns > horizontalScrollBar()->maximum())
        horizontalScrollBar()->setMaximum(columns);
    horizontalScrollBar()->setValue(columns);
    verticalScrollBar()->setValue(lines);
    syncingScrollBars_ = false;
    FollowScrollBars();
}

void CScrivoView::InvalidateLines(int first, int last)
{
    RepaintLines(first, last);
}

void CScrivoView::InvalidateAll()
{
    viewport()->update();
}

QRect CScrivoView::CaretRect() const
{
    const int x = viewport_.MarginWidth() + controller_.CaretX() - viewport_.ScrollX();
    const int y = controller_.CaretY() - viewport_.ScrollY();
    return QRect(x, y, kCaretWidth, LineHeight());
}

void CScrivoView::CaretMoved()
{
    const QRect caret = CaretRect();
    if (caret != caretShown_) {
        viewport()->update(caretShown_);
        viewport()->update(caret);
        caretShown_ = caret;
    }
    caretOn_ = true;
    if (blink_.isActive())
        blink_.start();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void CScrivoView::PostCommand(int id)
{
    QMetaObject::invokeMethod(this, [this, id] { controller_.OnCommand(id); }, Qt::QueuedConnection);
}

// IVxEditViewportHost

void CScrivoView::RepaintLines(int first, int last)
{
    const int lineHeight = LineHeight();
    const int top = first * lineHeight - viewport_.ScrollY();
    const int bottom = (last + 1) * lineHeight - viewport_.ScrollY();
    const QRect lines = QRect(0, top, viewport()->width(), bottom - top).intersected(viewport()->rect());
    if (!lines.isEmpty())
        viewport()->update(lines);
}

void CScrivoView::RepaintAll()
{
    viewport()->update();
}

void CScrivoView::RepaintMargin()
{
    viewport()->update(QRect(0, 0, viewport_.MarginWidth(), viewport()->height()));
}

void CScrivoView::ExtentChanged()
{
    UpdateScrollBars();
}

// Scrolling

void CScrivoView::UpdateScrollBars()
{
    const int lineHeight = LineHeight();
    const int charWidth = CharWidth();
    const int visibleLines = std::max(viewport()->height() / lineHeight, 1);
    const int visibleColumns = std::max(ClientWidth() / charWidth, 1);
    syncingScrollBars_ = true;
    verticalScrollBar()->setRange(0, std::max(model_->LineCount() - visibleLines, 0));
    verticalScrollBar()->setPageStep(visibleLines);
    const int widest = viewport_.LongestLineColumns() + kSpareColumns - visibleColumns;
    horizontalScrollBar()->setRange(0, std::max({widest, 0, viewport_.ScrollX() / charWidth}));
    horizontalScrollBar()->setPageStep(visibleColumns);
    syncingScrollBars_ = false;
    FollowScrollBars();
}

void CScrivoView::FollowScrollBars()
{
    const int x = horizontalScrollBar()->value() * CharWidth();
    const int y = verticalScrollBar()->value() * LineHeight();
    if (x == viewport_.ScrollX() && y == viewport_.ScrollY())
        return;
    viewport_.SetScrollOrigin(x, y);
    viewport()->update();
    CaretMoved();
}

void CScrivoView::scrollContentsBy(int, int)
{
    if (!syncingScrollBars_)
        FollowScrollBars();
}

// Events

void CScrivoView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    viewport_.Draw(painter, event->rect(), palette());
    const QRect caret = CaretRect();
    if (hasFocus() && caretOn_ && caret.left() >= viewport_.MarginWidth() && caret.intersects(event->rect()))
        painter.fillRect(caret, palette().color(QPalette::Text));
}

void CScrivoView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

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
        controller_.OnCommand(command);
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
    caretOn_ = true;
    blink_.start();
    viewport()->update(CaretRect());
}

void CScrivoView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    dragging_ = false;
    viewport()->update(CaretRect());
}

QPoint CScrivoView::DocumentPoint(const QPoint& windowPoint) const
{
    return QPoint(windowPoint.x() - viewport_.MarginWidth() + viewport_.ScrollX(),
                  windowPoint.y() + viewport_.ScrollY());
}

void CScrivoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = DocumentPoint(event->position().toPoint());
    if (event->position().x() < viewport_.MarginWidth()) {
        // A click in the margin selects the whole line.
        const std::int32_t line = std::clamp(point.y() / LineHeight(), 0, model_->LastLine());
        const VxEditLineCol start(line, 0);
        const VxEditLineCol end = line < model_->LastLine()
                                      ? VxEditLineCol(line + 1, 0)
                                      : VxEditLineCol(line, model_->LineLength(line));
        controller_.CancelSelection();
        controller_.SetCaret(end.line, end.column);
        controller_.SetSelection(start, end, VxEditSelection::kLines);
        dragging_ = false;
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier) {
        const VxEditLineCol anchor =
            controller_.HasSelection() ? controller_.Selection().anchor : controller_.Caret();
        controller_.SetCaretFromPoint(point.x(), point.y());
        controller_.SetSelection(anchor, controller_.Caret(), VxEditSelection::kStream);
        return;
    }
    controller_.CancelSelection();
    dragMode_ = (event->modifiers() & Qt::AltModifier) ? VxEditSelection::kColumnDrag
                                                       : VxEditSelection::kStream;
    if (dragMode_ == VxEditSelection::kColumnDrag) {
        controller_.SetSelection(controller_.Caret(), controller_.Caret(), dragMode_);
    }
    controller_.SetCaretFromPoint(point.x(), point.y());
    dragAnchor_ = controller_.Caret();
    if (dragMode_ == VxEditSelection::kColumnDrag)
        controller_.SetSelection(dragAnchor_, dragAnchor_, dragMode_);
    dragging_ = true;
}

void CScrivoView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const QPoint point = DocumentPoint(event->position().toPoint());
    controller_.SetCaretFromPoint(std::max(point.x(), 0), std::max(point.y(), 0));
    controller_.SetSelection(dragAnchor_, controller_.Caret(), dragMode_);
    controller_.EnsureCaretVisible();
}

void CScrivoView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    if (dragMode_ != VxEditSelection::kColumnDrag)
        return;
    std::int32_t left = 0;
    std::int32_t right = 0;
    controller_.ColumnDisplayRange(left, right);
    if (left == right)
        controller_.CancelSelection();
    else
        controller_.SetSelection(dragAnchor_, controller_.Caret(), VxEditSelection::kColumn);
}

void CScrivoView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->position().x() >= viewport_.MarginWidth())
        controller_.OnCommand(cmd::kSelectWord);
}

void CScrivoView::wheelEvent(QWheelEvent* event)
{
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    if (notches != 0)
        controller_.ScrollLines(-notches * kLinesPerNotch);
    event->accept();
}
