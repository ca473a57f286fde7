#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/QtProfile.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tarrow Samples"));
    QApplication::setApplicationName(QStringLiteral("Quillet"));

    // Qt has taken its own options (-platform and the like) by now.
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Quillet, a source-code editor for Java, HTML and JavaScript files."));
    options.addHelpOption();
    options.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The file to open."),
                                  QStringLiteral("[file]"));
    options.process(application);

    quillet::platform::QtProfile profile;
    quillet::platform::QtMessageSink messages;
    quillet::platform::SetMessageSink(&messages);

    int status = 0;
    {
        CScrivoApp app(profile);
        switch (app.Start(options.positionalArguments().mid(0, 1))) {
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
