#include "view/VxEditPrinter.h"

#include "engine/VxEdit.h"
#include "language/VxEditLangConfig.h"
#include "view/VxEditColours.h"
#include "platform/core/MessageSeam.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <vector>

namespace {

constexpr int kPdfResolution = 1200;

QRect ToQRect(const VxEditPrintRect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

// The pages of a job in the order they go to the printer: the chosen range
// (all pages when none is chosen), each copy whole when collated, else each
// page repeated, last page first when asked.
std::vector<int> PageSequence(int from, int to, int copies, bool collate, bool lastFirst)
{
    std::vector<int> order;
    for (int page = from; page <= to; ++page)
        order.push_back(page);
    if (lastFirst)
        std::reverse(order.begin(), order.end());
    std::vector<int> sequence;
    if (collate) {
        for (int copy = 0; copy < copies; ++copy)
            sequence.insert(sequence.end(), order.begin(), order.end());
    } else {
        for (int page : order)
            sequence.insert(sequence.end(), static_cast<std::size_t>(copies), page);
    }
    return sequence;
}

}  // namespace

VxEditPrinter::VxEditPrinter(VxEdit& model, std::string title)
    : model_(&model), title_(VxEditPrintLayout::Title(title))
{
}

VxEditPrinter::~VxEditPrinter() = default;

int VxEditPrinter::BeginPrinting(const QPaintDevice& device)
{
    quillet::platform::WaitCursor wait;
    metrics_.RebuildForPrinter(*model_, device);
    layout_ = std::make_unique<VxEditPrintLayout>();
    layout_->SetMetrics(metrics_.LineHeight(), metrics_.CharWidth(), metrics_.SpaceWidth());
    const VxEditPrintRect printable{0, 0, device.width(), device.height()};
    layout_->SetPage(SetMargins(device, printable), HeaderHeight(), FooterHeight());
    Paginate();
    return layout_->PageCount();
}

void VxEditPrinter::EndPrinting()
{
    layout_.reset();
}

void VxEditPrinter::Paginate()
{
    VxEdit& model = *model_;
    layout_->Paginate(
        model.LineCount(),
        [&model](std::int32_t line, const char*& text, std::int32_t& length) {
            return model.LineText(line, text, length) == 1;
        },
        [this](const char* text, int bytes) { return metrics_.Extent(text, bytes); });
}

VxEditPrintRect VxEditPrinter::SetMargins(const QPaintDevice& device, const VxEditPrintRect& printable)
{
    return VxEditPrintLayout::HalfInchMargins(printable.Width(), printable.Height(), device.logicalDpiX(),
                                              device.logicalDpiY());
}

int VxEditPrinter::HeaderHeight() const
{
    return 2 * metrics_.LineHeight();
}

int VxEditPrinter::FooterHeight() const
{
    return 2 * metrics_.LineHeight();
}

void VxEditPrinter::PrintPage(QPainter& painter, int page)
{
    if (!layout_)
        return;
    ++pagesPrinted_;
    painter.save();
    painter.setFont(metrics_.Font());
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.setBackground(Qt::white);
    if (layout_->Header().Height() > 0)
        DrawHeader(painter, page, ToQRect(layout_->Header()));
    DrawBody(painter, page, ToQRect(layout_->Body()));
    if (layout_->Footer().Height() > 0)
        DrawFooter(painter, page, ToQRect(layout_->Footer()));
    painter.restore();
}

void VxEditPrinter::DrawHeader(QPainter& painter, int page, const QRect& rect)
{
    const int lineHeight = layout_->LineHeight();
    if (rect.height() >= lineHeight) {
        const QFontMetrics fontMetrics(metrics_.Font(), painter.device());
        const QString title = fontMetrics.elidedText(QString::fromStdString(title_), Qt::ElideMiddle,
                                                     rect.width());
        painter.drawText(QRect(rect.left(), rect.top(), rect.width(), lineHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);
    }
    const int rule = layout_->HeaderRuleY();
    if (rule >= 0)
        painter.drawLine(rect.left(), rule, rect.right(), rule);
}

void VxEditPrinter::DrawBody(QPainter& painter, int page, const QRect& rect)
{
    VxEdit& model = *model_;
    const int lineHeight = layout_->LineHeight();
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const VxEditColours colours(model.GetLangConfig(), QGuiApplication::palette());
    int y = rect.top();
    for (std::int32_t row = layout_->FirstRowOf(page); row <= layout_->LastRowOf(page); ++row) {
        const VxEditLineCol& at = layout_->Row(row);
        // The rows were laid out when the job began; a line edited since
        // prints what is left of it.
        if (model.IsValidPosition(at.line, at.column)) {
            // The runs first: working them out may move the text store's gap.
            const std::vector<ColorRun>* runs =
                inColour_ && model.LineLength(at.line) > 0 ? model.GetColourRuns(at.line) : nullptr;
            const char* text = nullptr;
            std::int32_t length = 0;
            model.LineText(at.line, text, length);
            const std::int32_t bytes = layout_->RowBytes(row, length);
            if (runs && !runs->empty())
                DrawColouredRow(painter, rect.left(), y, text, length, at.column, bytes, *runs, colours);
            else
                metrics_.Draw(painter, rect.left(), y, text + at.column, bytes, rect.left(), black, white);
        }
        y += lineHeight;
    }
}

void VxEditPrinter::DrawColouredRow(QPainter& painter, int left, int y, const char* text, std::int32_t length,
                                    std::int32_t from, std::int32_t bytes, const std::vector<ColorRun>& runs,
                                    const VxEditColours& colours)
{
    // Paper stays white: a background prints only where a group has one of
    // its own, and text on the screen's own background prints on white.
    const QColor paper(Qt::white);
    const QColor screen = colours.Text().background;
    const std::int32_t to = from + bytes;
    std::int32_t column = 0;
    int x = left;
    for (const ColorRun& run : runs) {
        if (column >= to)
            break;
        const auto given = static_cast<std::int32_t>(ColorRunLength(run));
        const std::int32_t runLength = given == 0 ? length - column : std::min(given, length - column);
        const std::int32_t start = std::max(column, from);
        const std::int32_t end = std::min(column + runLength, to);
        if (start < end) {
            const VxEditColourPair pair = colours.Group(ColorRunGroup(run));
            const QColor background = pair.background == screen ? paper : pair.background;
            const QColor ink = pair.foreground == background ? QColor(Qt::black) : pair.foreground;
            // Tab stops count from the row's start, as in the black print.
            x += metrics_.Draw(painter, x, y, text + start, end - start, left, ink, background);
        }
        column += runLength;
    }
    if (column < to) {
        column = std::max(column, from);
        metrics_.Draw(painter, x, y, text + column, to - column, left, Qt::black, paper);
    }
}

void VxEditPrinter::DrawFooter(QPainter& painter, int page, const QRect& rect)
{
    const int rule = layout_->FooterRuleY();
    if (rule >= 0)
        painter.drawLine(rect.left(), rule, rect.right(), rule);
    const int top = layout_->PageNumberTop();
    if (top >= 0) {
        painter.drawText(rect.left(), top + metrics_.Ascent(),
                         QString::fromStdString(VxEditPrintLayout::PageText(page)));
    }
}

bool VxEditPrinter::PrintTo(QPrinter& printer)
{
    if (!layout_)
        return false;
    const int pages = layout_->PageCount();
    int from = 1;
    int to = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(printer.fromPage(), 1);
        to = std::min(printer.toPage() > 0 ? printer.toPage() : pages, pages);
    }
    // A printer that makes its own copies gets each page once.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(printer.copyCount(), 1);
    const std::vector<int> sequence = PageSequence(from, to, copies, printer.collateCopies(),
                                                   printer.pageOrder() == QPrinter::LastPageFirst);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    quillet::platform::WaitCursor wait;
    bool first = true;
    for (int page : sequence) {
        if (!first && !printer.newPage())
            return false;
        first = false;
        PrintPage(painter, page);
    }
    return painter.end();
}

void VxEditPrinter::SetUpPdfWriter(QPdfWriter& writer)
{
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
}

int VxEditPrinter::WritePdf(const std::string& path)
{
    QPdfWriter writer(QString::fromStdString(path));
    SetUpPdfWriter(writer);
    writer.setTitle(QString::fromStdString(title_));
    writer.setCreator(QStringLiteral("Quillet"));
    const int pages = BeginPrinting(writer);
    QPainter painter;
    if (!painter.begin(&writer))
        return 0;
    quillet::platform::WaitCursor wait;
    // A text without lines still gives a file, with one empty page.
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        PrintPage(painter, page);
    }
    return painter.end() ? 1 : 0;
}
