#include "app/CFullScreen.h"

#include <QAction>
#include <QMainWindow>
#include <QApplication>
#include <QKeyEvent>
#include <QStatusBar>
#include <QToolBar>

CFullScreen::CFullScreen(QMainWindow& frame) : QObject(&frame), frame_(frame) {}

void CFullScreen::Enter()
{
    if (on_)
        return;
    on_ = true;
    wasMaximized_ = frame_.isMaximized();
    statusBarShown_ = !frame_.statusBar()->isHidden();
    frame_.statusBar()->hide();

    // The bar exists only while the mode is on, so it is never part of the
    // layout the frame stores.
    closeBar_ = new QToolBar(QString::fromLatin1(kToolbarTitle), &frame_);
    closeBar_->setObjectName(QStringLiteral("CloseFullScreen"));
    closeBar_->setAccessibleName(QString::fromLatin1(kToolbarTitle));
    QAction* close = closeBar_->addAction(QString::fromLatin1(kToolbarTitle), this, &CFullScreen::Leave);
    close->setToolTip(QStringLiteral("Close Full Screen (Esc)"));
    close->setStatusTip(QStringLiteral("Return to the normal window"));
    if (QWidget* button = closeBar_->widgetForAction(close))
        button->setAccessibleName(QString::fromLatin1(kToolbarTitle));
    frame_.addToolBar(Qt::TopToolBarArea, closeBar_);
    closeBar_->show();

    qApp->installEventFilter(this);

    frame_.showFullScreen();
}

void CFullScreen::Leave()
{
    if (!on_)
        return;
    on_ = false;
    qApp->removeEventFilter(this);
    frame_.removeToolBar(closeBar_);
    closeBar_->deleteLater();
    closeBar_ = nullptr;
    frame_.statusBar()->setVisible(statusBarShown_);
    if (wasMaximized_)
        frame_.showMaximized();
    else
        frame_.showNormal();
}

bool CFullScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && on_) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && widget &&
            widget->window() == &frame_) {
            Leave();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
