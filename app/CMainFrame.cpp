#include "app/CMainFrame.h"

#include <QMdiArea>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), mdiArea_(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Quillet"));
    setCentralWidget(mdiArea_);
    resize(1024, 768);
}
