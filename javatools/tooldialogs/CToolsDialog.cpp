#include "javatools/tooldialogs/CToolsDialog.h"

#include "app/SettingsKeys.h"
#include "javatools/build/JavaToolLocator.h"
#include "javatools/junit/JUnitLocator.h"
#include "platform/core/MessageSeam.h"
#include "platform/core/Profile.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdlib>

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

CToolsDialog::CToolsDialog(quillet::platform::Profile& settings, int& compileAutoSave,
                           QWidget* parent)
    : QDialog(parent), settings_(settings), compileAutoSave_(compileAutoSave)
{
    setWindowTitle(tr("Tools Directories"));
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto addPath = [&](const QString& label, const char* value, bool helpFiles) {
        auto* field = new QLineEdit(QString::fromStdString(
            settings_.GetString(settings::kTools, value, settings::kNoToolPath)));
        auto* caption = new QLabel(label);
        caption->setBuddy(field);
        auto* browse = new QPushButton(QStringLiteral("..."));
        browse->setAccessibleName(label + QStringLiteral(" ..."));
        browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
        connect(browse, &QPushButton::clicked, this, [this, field, helpFiles] { Browse(field, helpFiles); });
        grid->addWidget(caption, row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(browse, row, 2);
        ++row;
        return field;
    };
    auto addFlag = [&](const QString& label, const char* value, int fallback) {
        auto* box = new QCheckBox(label);
        box->setChecked(settings_.GetInt(settings::kTools, value, fallback) != 0);
        grid->addWidget(box, row++, 1, 1, 2);
        return box;
    };
    appViewer = addPath(tr("Application Viewer"), settings::kAppViewer, false);
    appletViewer = addPath(tr("Applet Viewer"), settings::kAppletViewer, false);
    keepConsole = addFlag(tr("Keep Console Window Open"), settings::kAppletKeepDos, 0);
    compiler = addPath(tr("Java Compiler"), settings::kJavaCompiler, false);
    useOutputWindow = addFlag(tr("Use Output Window"), settings::kCompilerUseOutputWnd, 1);
    autoSave = addFlag(tr("AutoSave before compile"), settings::kCompileAutoSave, 1);
    checkOnSave = addFlag(tr("Check Java files when saved"), settings::kCheckOnSave, 1);
    checkOnSave->setToolTip(tr("Run the Java compiler on a Java file after each save and mark the "
                               "lines it reports"));
    debugger = addPath(tr("Java Debugger"), settings::kJavaDebugger, false);
    junit = addPath(tr("JUnit"), settings::kJUnit, false);
    junit->setToolTip(tr("The JUnit console launcher, junit-platform-console-standalone.jar"));
    helpFile = addPath(tr("Custom Help File"), settings::kCustomOnlineHelp, true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* detect = buttons->addButton(tr("Detect"), QDialogButtonBox::ActionRole);
    detect->setToolTip(tr("Fill in the Java tools of the installed JDK"));
    connect(detect, &QPushButton::clicked, this, &CToolsDialog::Detect);
    connect(buttons, &QDialogButtonBox::accepted, this, &CToolsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CToolsDialog::reject);
    grid->addWidget(buttons, row, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 320);
}

void CToolsDialog::Browse(QLineEdit* field, bool helpFiles)
{
    quillet::platform::FileDialogRequest request;
    request.title = "Open";
    request.initialPath = field->text().toStdString();
    if (helpFiles)
        request.filters = {"Help Files (*.hlp *.chm *.htm *.html *.pdf)", "All Files (*)"};
    std::string path;
    if (quillet::platform::ChooseFile(request, path))
        field->setText(QString::fromStdString(path));
}

void CToolsDialog::Detect()
{
    // Debian's junit5 package puts the launcher here.
    const std::string launcher = FindJUnitLauncher("/usr/share/java");
    if (!launcher.empty())
        junit->setText(QString::fromStdString(launcher));
    const JavaToolPaths found = DetectJavaTools(Environment("JAVA_HOME"), Environment("PATH"), "/usr/lib/jvm");
    if (found.appViewer.empty() && found.compiler.empty() && found.debugger.empty()) {
        quillet::platform::ShowMessage(
            "No Java development kit was found: neither in JAVA_HOME, nor on the PATH, nor under "
            "/usr/lib/jvm. Install one (for example the package openjdk-17-jdk-headless) or fill in "
            "the paths yourself.");
        return;
    }
    ApplyDetected(found);
}

void CToolsDialog::ApplyDetected(const JavaToolPaths& paths)
{
    if (!paths.appViewer.empty())
        appViewer->setText(QString::fromStdString(paths.appViewer));
    if (!paths.compiler.empty())
        compiler->setText(QString::fromStdString(paths.compiler));
    if (!paths.debugger.empty())
        debugger->setText(QString::fromStdString(paths.debugger));
}

void CToolsDialog::accept()
{
    auto text = [](const QLineEdit* field) { return field->text().toStdString(); };
    settings_.WriteString(settings::kTools, settings::kAppViewer, text(appViewer));
    settings_.WriteString(settings::kTools, settings::kAppletViewer, text(appletViewer));
    settings_.WriteString(settings::kTools, settings::kJavaCompiler, text(compiler));
    settings_.WriteString(settings::kTools, settings::kJavaDebugger, text(debugger));
    settings_.WriteString(settings::kTools, settings::kJUnit, text(junit));
    settings_.WriteString(settings::kTools, settings::kCustomOnlineHelp, text(helpFile));
    settings_.WriteInt(settings::kTools, settings::kAppletKeepDos, keepConsole->isChecked() ? 1 : 0);
    settings_.WriteInt(settings::kTools, settings::kCompilerUseOutputWnd,
                       useOutputWindow->isChecked() ? 1 : 0);
    settings_.WriteInt(settings::kTools, settings::kCompileAutoSave, autoSave->isChecked() ? 1 : 0);
    settings_.WriteInt(settings::kTools, settings::kCheckOnSave, checkOnSave->isChecked() ? 1 : 0);
    compileAutoSave_ = autoSave->isChecked() ? 1 : 0;
    QDialog::accept();
}
