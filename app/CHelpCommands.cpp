#include "app/CHelpCommands.h"

#include "app/CAboutDlg.h"
#include "app/CHelpWindow.h"
#include "app/SettingsKeys.h"
#include "platform/core/MessageSeam.h"
#include "platform/core/Profile.h"
#include "resources/CommandIds.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

using quillet::platform::MessageAnswer;
using quillet::platform::MessageButtons;
using quillet::platform::MessageIcon;

namespace {

void ReportMissing(const QString& path)
{
    quillet::platform::Message message;
    message.text = QString::fromLatin1(CHelpCommands::kMissingHelpFile).arg(path).toStdString();
    message.icon = MessageIcon::Error;
    quillet::platform::ShowMessage(message);
}

}  // namespace

CHelpCommands::CHelpCommands(quillet::platform::Profile& profile, std::function<QString()> helpPath,
                             std::function<QWidget*()> parent, std::function<void()> configure)
    : openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }), profile_(profile),
      helpPath_(std::move(helpPath)), parent_(std::move(parent)), configure_(std::move(configure))
{
}

CHelpCommands::~CHelpCommands()
{
    delete window_.data();
}

CHelpWindow* CHelpCommands::HelpWindow() const
{
    return window_.data();
}

void CHelpCommands::ShowContents()
{
    const QFileInfo welcome(helpPath_());
    if (!welcome.exists()) {
        ReportMissing(welcome.filePath());
        return;
    }
    if (!window_)
        window_ = new CHelpWindow(welcome.absolutePath() + QLatin1Char('/'), parent_());
    window_->ShowPage(welcome.fileName());
    window_->show();
    window_->raise();
    window_->activateWindow();
}

// A stored path names a local file; anything with a scheme is an address.
bool CHelpCommands::Open(const QString& target)
{
    const QUrl url(target);
    const bool address = url.isValid() && url.scheme().size() > 1;
    if (!address && !QFileInfo::exists(target)) {
        ReportMissing(target);
        return false;
    }
    return openUrl(address ? url : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath()));
}

void CHelpCommands::OpenCustomHelp()
{
    std::string file = profile_.GetString(settings::kTools, settings::kCustomOnlineHelp, settings::kNoToolPath);
    if (file == settings::kNoToolPath) {
        quillet::platform::Message question;
        question.text = kNoCustomHelpQuestion;
        question.buttons = MessageButtons::YesNo;
        question.icon = MessageIcon::Question;
        if (quillet::platform::ShowMessage(question) != MessageAnswer::Yes)
            return;
        configure_();
        file = profile_.GetString(settings::kTools, settings::kCustomOnlineHelp, settings::kNoToolPath);
        // Still nothing configured: there is nothing to open.
        if (file == settings::kNoToolPath)
            return;
    }
    Open(QString::fromStdString(file));
}

void CHelpCommands::ShowAbout()
{
    CAboutDlg dialog(parent_());
    dialog.exec();
}

bool CHelpCommands::OnCommand(int id)
{
    switch (id) {
    case cmd::kHelpContents:
        ShowContents();
        return true;
    case cmd::kHelpCustom:
        OpenCustomHelp();
        return true;
    case cmd::kAppAbout:
        ShowAbout();
        return true;
    default:
        return false;
    }
}

bool CHelpCommands::OnUpdateCommand(int id, tarrow::foundation::CommandState&)
{
    return id == cmd::kHelpContents || id == cmd::kHelpCustom || id == cmd::kAppAbout;
}
