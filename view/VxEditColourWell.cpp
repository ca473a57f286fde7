#include "view/VxEditColourWell.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>

VxEditColourWell::VxEditColourWell(const QString& name, QWidget* parent)
    : QPushButton(parent), name_(name), colour_(Qt::black)
{
    setAccessibleName(name_);
    setMinimumSize(48, 24);
    connect(this, &QPushButton::clicked, this, &VxEditColourWell::Choose);
}

void VxEditColourWell::SetColour(const QColor& colour)
{
    colour_ = colour;
    setAccessibleDescription(colour.name());
    setToolTip(colour.name());
    update();
}

void VxEditColourWell::PickColour(const QColor& colour)
{
    SetColour(colour);
    emit ColourPicked(colour);
}

void VxEditColourWell::Choose()
{
    const QColor chosen = QColorDialog::getColor(colour_, this, name_);
    if (chosen.isValid())
        PickColour(chosen);
}

void VxEditColourWell::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(6, 5, -6, -5);
    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText) : palette().color(QPalette::Mid));
    painter.setBrush(isEnabled() ? colour_ : palette().color(QPalette::Button));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}
