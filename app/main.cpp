#include "app/CMainFrame.h"
#include "app/RecentFileList.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/QtProfile.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tarrow Samples"));
    QApplication::setApplicationName(QStringLiteral("Quillet"));

    quillet::platform::QtProfile profile;
    RecentFileList recentFiles;
    recentFiles.Load(profile);
    CMainFrame frame(profile, recentFiles);
    quillet::platform::QtMessageSink messages(&frame);
    quillet::platform::SetMessageSink(&messages);
    frame.show();
    const int status = application.exec();
    quillet::platform::SetMessageSink(nullptr);
    return status;
}
