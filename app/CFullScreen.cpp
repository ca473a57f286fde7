#include "app/CFullScreen.h"

#include <QAction>
#include <QMainWindow>
#include <QShortcut>
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

    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), &frame_);
    escape_->setContext(Qt::WindowShortcut);
    connect(escape_, &QShortcut::activated, this, &CFullScreen::Leave);

    frame_.showFullScreen();
}

void CFullScreen::Leave()
{
    if (!on_)
        return;
    on_ = false;
    delete escape_;
    escape_ = nullptr;
    frame_.removeToolBar(closeBar_);
    closeBar_->deleteLater();
    closeBar_ = nullptr;
    frame_.statusBar()->setVisible(statusBarShown_);
    if (wasMaximized_)
        frame_.showMaximized();
    else
        frame_.showNormal();
}
