#include "app/CStaticURL.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

CStaticURL::CStaticURL(const QString& caption, const QString& address, QWidget* parent)
    : QLabel(caption.isEmpty() ? address : caption, parent), address_(address)
{
    setAlignment(Qt::AlignCenter);
    setFont(QFont(QStringLiteral("Arial"), 10));
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::blue);
    setPalette(colours);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(text());
    setAccessibleDescription(tr("Link to %1").arg(address_));
    setToolTip(address_);
}

void CStaticURL::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Open();
    QLabel::mouseReleaseEvent(event);
}

void CStaticURL::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CStaticURL::Open()
{
    QDesktopServices::openUrl(QUrl(address_));
    emit Opened(address_);
}
