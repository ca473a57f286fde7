#include "app/CMainFrame.h"
#include "platform/qt/QtMessageSink.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tarrow Samples"));
    QApplication::setApplicationName(QStringLiteral("Quillet"));

    CMainFrame frame;
    quillet::platform::QtMessageSink messages(&frame);
    quillet::platform::SetMessageSink(&messages);
    frame.show();
    const int status = application.exec();
    quillet::platform::SetMessageSink(nullptr);
    return status;
}
