#include "view/VxEditColourSample.h"

#include <QPainter>

VxEditColourSample::VxEditColourSample(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setMinimumSize(200, 48);
    setAccessibleName(tr("Sample"));
}

void VxEditColourSample::Show(const QFont& font, const QColor& foreground, const QColor& background)
{
    font_ = font;
    foreground_ = foreground;
    background_ = background;
    setAccessibleDescription(QStringLiteral("%1 %2 on %3").arg(font.family(), foreground.name(), background.name()));
    update();
}

void VxEditColourSample::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, background_);
    painter.setClipRect(area.adjusted(2, 2, -2, -2));
    painter.setFont(font_);
    painter.setPen(foreground_);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, QString::fromLatin1(kSampleText));
}
