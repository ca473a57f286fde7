#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CommandLineJob.h"
#include "app/LanguageRegistration.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/ProgramDirectory.h"
#include "platform/qt/ContextMenuKey.h"
#include "platform/qt/DisplayCheck.h"
#include "platform/qt/ModalFocusKeeper.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/QtProfile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QSettings>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr const char* kNoDisplay =
    "Quillet cannot open its window because no display can be reached; set DISPLAY to a running "
    "X server, or use --print-to-pdf or --export-html, which need none.\n";

const QCommandLineOption kPrintToPdf(
    QStringLiteral("print-to-pdf"),
    QStringLiteral("Print FILE to the PDF file OUT.pdf as Print does, without a window or a "
                   "display: quillet --print-to-pdf FILE OUT.pdf"));
const QCommandLineOption kExportHtml(
    QStringLiteral("export-html"),
    QStringLiteral("Write FILE as the HTML page that Export as HTML writes, without a window or "
                   "a display: quillet --export-html FILE OUT.html"));

void DescribeOptions(QCommandLineParser& options)
{
    options.setApplicationDescription(
        QStringLiteral("Quillet, a source-code editor for Java, HTML and JavaScript files."));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(kPrintToPdf);
    options.addOption(kExportHtml);
    options.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The files to open."),
                                  QStringLiteral("[file...]"));
}

// Help, the version and the forms that write a file need no display.
bool NeedsNoDisplay(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version",
                                   "--print-to-pdf", "--export-html"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

void NameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Tarrow Samples"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
    // The build names the version; the desktop matches windows to the
    // installed entry by its name.
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarrowsamples.Quillet"));
}

// The user's settings file. Without a folder for it (no usable home folder)
// the settings live in memory for this run, and Qt's own (the file dialog's
// history) go where no folder can be made, so that nothing is created in a
// home folder that is not there.
std::unique_ptr<quillet::platform::Profile> OpenUserProfile()
{
    if (!UserSettingsDirectory().empty())
        return std::make_unique<quillet::platform::QtProfile>();
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
    return std::make_unique<quillet::platform::MemoryProfile>();
}

int RunWithoutDisplay(int argc, char** argv)
{
    // Fonts are all that printing needs of the window system.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    NameApplication();
    QCommandLineParser options;
    DescribeOptions(options);
    options.process(application);  // --help and --version end here

    const bool print = options.isSet(kPrintToPdf);
    if (print && options.isSet(kExportHtml)) {
        std::fputs("Quillet: give either --print-to-pdf or --export-html, not both.\n", stderr);
        return 1;
    }
    const QStringList files = options.positionalArguments();
    if (files.size() != 2) {
        std::fprintf(stderr, "Quillet: %s needs two files: quillet %s FILE %s\n",
                     print ? "--print-to-pdf" : "--export-html", print ? "--print-to-pdf" : "--export-html",
                     print ? "OUT.pdf" : "OUT.html");
        return 1;
    }
    const std::unique_ptr<quillet::platform::Profile> profile = OpenUserProfile();
    CommandLineJob job(*profile, quillet::platform::ProgramDirectory(), UserSettingsDirectory());
    const std::string in = files[0].toStdString();
    const std::string out = files[1].toStdString();
    return print ? job.PrintToPdf(in, out) : job.ExportHtml(in, out);
}

int RunEditor(int argc, char** argv)
{
    QApplication application(argc, argv);
    NameApplication();
    // Qt has taken its own options (-platform and the like) by now.
    QCommandLineParser options;
    DescribeOptions(options);
    options.process(application);

    const std::unique_ptr<quillet::platform::Profile> profile = OpenUserProfile();
    quillet::platform::QtMessageSink messages;
    quillet::platform::SetMessageSink(&messages);
    const quillet::platform::ModalFocusKeeper focusKeeper;
    const quillet::platform::ContextMenuKey menuKey;

    int status = 0;
    {
        CScrivoApp app(*profile);
        switch (app.Start(options.positionalArguments())) {
        case CScrivoApp::StartResult::HandedOver:
            break;
        case CScrivoApp::StartResult::Failed:
            status = 1;
            break;
        case CScrivoApp::StartResult::Running:
            messages.SetParent(app.MainFrame());
            // Once the window shows, texts a killed run left are offered.
            QTimer::singleShot(0, &app, [&app] { app.OfferRecovery(); });
            status = application.exec();
            app.Exit();
            break;
        }
        messages.SetParent(nullptr);
    }
    quillet::platform::SetMessageSink(nullptr);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    if (NeedsNoDisplay(argc, argv))
        return RunWithoutDisplay(argc, argv);
    if (!quillet::platform::DisplayReachable(argc, argv)) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    return RunEditor(argc, argv);
}
