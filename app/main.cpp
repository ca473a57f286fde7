#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/QtProfile.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tarrow Samples"));
    QApplication::setApplicationName(QStringLiteral("Quillet"));

    quillet::platform::QtProfile profile;
    quillet::platform::QtMessageSink messages;
    quillet::platform::SetMessageSink(&messages);

    int status = 0;
    {
        CScrivoApp app(profile);
        switch (app.Start(QApplication::arguments().mid(1))) {
        case CScrivoApp::StartResult::HandedOver:
            break;
        case CScrivoApp::StartResult::Failed:
            status = 1;
            break;
        case CScrivoApp::StartResult::Running:
            messages.SetParent(app.MainFrame());
            status = application.exec();
            app.Exit();
            break;
        }
        messages.SetParent(nullptr);
    }
    quillet::platform::SetMessageSink(nullptr);
    return status;
}
