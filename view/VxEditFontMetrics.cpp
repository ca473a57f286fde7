#include "view/VxEditFontMetrics.h"

#include "engine/VxEdit.h"
#include "engine/VxEditDisplayMetrics.h"
#include "language/VxEditLangConfig.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

QFont FontFor(const VxEditDisplayMetrics& described)
{
    const int pointSize = described.pointSize > 0 ? described.pointSize : 10;
    const QString face = QString::fromStdString(described.faceName);
    if (!face.isEmpty() && QFontDatabase::families().contains(face, Qt::CaseInsensitive)) {
        QFont font(face, pointSize);
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        // Bold and italic have no visible effect on the edit view.
        font.setBold(false);
        font.setItalic(false);
        return font;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Some platforms (the offscreen one among them) name no fixed-pitch
    // system face: the configured monospace face stands in.
    if (!QFontInfo(font).fixedPitch()) {
        font = QFont(QStringLiteral("monospace"));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    font.setPointSize(pointSize);
    return font;
}

// The next byte in text[at, length) that is not drawn as shaped text, a tab
// or a CR; length when there is none.
int NextSpecial(const char* text, int at, int length)
{
    const void* tab = std::memchr(text + at, '\t', static_cast<std::size_t>(length - at));
    const int end = tab ? static_cast<int>(static_cast<const char*>(tab) - text) : length;
    const void* carriage = std::memchr(text + at, '\r', static_cast<std::size_t>(end - at));
    return carriage ? static_cast<int>(static_cast<const char*>(carriage) - text) : end;
}

const QString kCarriageLabel = QStringLiteral("CR");

}  // namespace

VxEditFontMetrics::VxEditFontMetrics() : metrics_(font_) {}

void VxEditFontMetrics::Rebuild(VxEdit& model)
{
    Measure(model, FontFor(model.GetDisplayMetrics()), nullptr);
    lineHeight_ = std::max(metrics_.height(), 1);
    const VxEditLangConfig* config = model.GetLangConfig();
    if (config && config->GetShowWhitespace())
        tabStop_ = std::max((model.TabSize() - 1) * spaceWidth_ + tabGlyphWidth_, 1);
}

void VxEditFontMetrics::RebuildForPrinter(VxEdit& model, const QPaintDevice& device)
{
    const VxEditDisplayMetrics& described = model.GetDisplayMetrics();
    const int pointSize = described.pointSize > 0 ? described.pointSize : 10;
    QFont font = FontFor(described);
    font.setPixelSize(std::max(pointSize * device.logicalDpiY() / 72, 1));
    Measure(model, font, &device);
    lineHeight_ = std::max(metrics_.lineSpacing(), 1);
}

void VxEditFontMetrics::Measure(VxEdit& model, const QFont& font, const QPaintDevice* device)
{
    font_ = font;
    metrics_ = device ? QFontMetrics(font_, device) : QFontMetrics(font_);
    ascent_ = metrics_.ascent();
    spaceWidth_ = std::max(metrics_.horizontalAdvance(QLatin1Char(' ')), 1);
    charWidth_ = std::max(metrics_.averageCharWidth(), 1);
    // In a fixed-pitch face every cell is the width of a space; rounding of
    // the average must not make scrolling units differ from the cells.
    fixedPitch_ = QFontInfo(font_).fixedPitch() &&
                  metrics_.horizontalAdvance(QStringLiteral("MiW.")) == 4 * spaceWidth_;
    if (fixedPitch_)
        charWidth_ = spaceWidth_;
    constexpr int kSampleCells = 100;
    cellAdvance_ = QFontInfo(font_).fixedPitch()
                       ? metrics_.horizontalAdvance(QString(kSampleCells, QLatin1Char('0'))) / double(kSampleCells)
                       : 0.0;
    const std::string_view space = model.VisibleWhitespaceGlyph(false);
    const std::string_view tab = model.VisibleWhitespaceGlyph(true);
    spaceGlyph_ = QString::fromUtf8(space.data(), static_cast<qsizetype>(space.size()));
    tabGlyph_ = QString::fromUtf8(tab.data(), static_cast<qsizetype>(tab.size()));
    tabGlyphWidth_ = std::max(metrics_.horizontalAdvance(tabGlyph_), 1);
    tabStop_ = std::max(model.TabSize() * spaceWidth_, 1);
    // One cell, as the engine counts a CR in display columns.
    carriageWidth_ = fixedPitch_ ? spaceWidth_ : charWidth_;
    carriageFont_ = font_;
    carriageFont_.setPixelSize(std::max(metrics_.ascent() * 3 / 5, 1));
}

int VxEditFontMetrics::NextTabStop(int x, int origin) const
{
    const int offset = x - origin;
    const int stops = offset >= 0 ? offset / tabStop_ + 1 : -((-offset) / tabStop_);
    return origin + stops * tabStop_;
}

int VxEditFontMetrics::SpecialWidth(char special, int x, int origin) const
{
    return special == '\t' ? NextTabStop(x, origin) - x : carriageWidth_;
}

int VxEditFontMetrics::Advance(const char* text, int length) const
{
    if (length <= 0)
        return 0;
    // Plain ASCII in a fixed-pitch face needs no shaping to be measured.
    bool ascii = true;
    for (int i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(text[i]) < 0x80;
    if (ascii && fixedPitch_)
        return length * spaceWidth_;
    return metrics_.horizontalAdvance(QString::fromUtf8(text, length));
}

int VxEditFontMetrics::Extent(const char* text, int length, int x, int origin) const
{
    const int start = x;
    int at = 0;
    while (at < length) {
        const int end = NextSpecial(text, at, length);
        x += Advance(text + at, end - at);
        if (end >= length)
            break;
        x += SpecialWidth(text[end], x, origin);
        at = end + 1;
    }
    return x - start;
}

int VxEditFontMetrics::Draw(QPainter& painter, int x, int y, const char* text, int length,
                            int origin, const QColor& foreground, const QColor& background) const
{
    const int width = Extent(text, length, x, origin);
    if (width <= 0)
        return 0;
    // A line may be megabytes long: only what falls inside the painter's
    // visible strip is filled and drawn.
    const QRect visible = VisibleRect(painter);
    const int from = std::max(x, visible.left() - 1);
    const int to = std::min(x + width, visible.right() + 2);
    if (from < to)
        painter.fillRect(from, y, to - from, lineHeight_, background);
    painter.setPen(foreground);
    int at = 0;
    int pen = x;
    while (at < length && pen <= visible.right()) {
        const int end = NextSpecial(text, at, length);
        pen = DrawVisible(painter, pen, y, text + at, end - at, visible);
        if (end >= length)
            break;
        const int special = SpecialWidth(text[end], pen, origin);
        if (text[end] == '\r' && pen + special >= visible.left())
            DrawCarriageMark(painter, pen, y, foreground, background);
        pen += special;
        at = end + 1;
    }
    return width;
}

void VxEditFontMetrics::DrawCarriageMark(QPainter& painter, int x, int y, const QColor& foreground,
                                         const QColor& background) const
{
    // "CR" in the background colour on a block of the text colour, squeezed
    // into its cell: it reads as a byte of its own, never as a blank.
    const QRectF box(x + 0.5, y + lineHeight_ * 0.15, carriageWidth_ - 1.0, lineHeight_ * 0.7);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(foreground);
    painter.drawRoundedRect(box, 1.5, 1.5);
    painter.setFont(carriageFont_);
    painter.setPen(background);
    const qreal label = QFontMetricsF(carriageFont_, painter.device()).horizontalAdvance(kCarriageLabel);
    painter.translate(box.center());
    if (label > box.width() && label > 0)
        painter.scale(box.width() / label, 1.0);
    painter.drawText(QRectF(-label / 2, -box.height() / 2, label, box.height()), Qt::AlignCenter,
                     kCarriageLabel);
    painter.restore();
}

QRect VxEditFontMetrics::VisibleRect(const QPainter& painter)
{
    if (painter.hasClipping())
        return painter.clipBoundingRect().toAlignedRect();
    const QPaintDevice* device = painter.device();
    const QRect whole(0, 0, device ? device->width() : 0, device ? device->height() : 0);
    // A device without a size (a recording) gets everything.
    if (whole.isEmpty())
        return QRect(QPoint(-(1 << 29), -(1 << 29)), QPoint(1 << 29, 1 << 29));
    return painter.combinedTransform().inverted().mapRect(whole);
}

int VxEditFontMetrics::DrawVisible(QPainter& painter, int pen, int y, const char* text, int length,
                                   const QRect& visible) const
{
    // Short text goes in one call; long text in slices, skipping those that
    // lie wholly outside the visible strip. Past its right edge the pen no
    // longer matters.
    constexpr int kSlice = 1024;
    int at = 0;
    while (at < length) {
        int end = length;
        if (length - at > kSlice) {
            end = at + kSlice;
            // Never split a UTF-8 character.
            while (end > at + kSlice - 4 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
                --end;
        }
        const int advance = Advance(text + at, end - at);
        if (pen > visible.right())
            return pen;
        if (pen + advance >= visible.left())
            painter.drawText(pen, y + ascent_, QString::fromUtf8(text + at, end - at));
        pen += advance;
        at = end;
    }
    return pen;
}
