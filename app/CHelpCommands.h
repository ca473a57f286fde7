#pragma once

#include "mvc/ICommandTarget.h"

#include <QPointer>
#include <QString>

#include <functional>

class QUrl;
class QWidget;
class CHelpWindow;

namespace quillet::platform {
class Profile;
}

// The application's help commands: Help Contents (the program's help
// window), Custom Online Help (the user's own help file, opened with the
// desktop) and About.
class CHelpCommands : public tarrow::foundation::ICommandTarget {
public:
    static constexpr const char* kNoCustomHelpQuestion =
        "You have not defined a custom help file. Would you like to configure one now?";
    static constexpr const char* kMissingHelpFile = "Cannot find the file '%1'.";

    // helpPath names the welcome page of the help directory; parent gives the
    // window that dialogs belong to; configure runs the Tools Settings command.
    CHelpCommands(quillet::platform::Profile& profile, std::function<QString()> helpPath,
                  std::function<QWidget*()> parent, std::function<void()> configure);
    ~CHelpCommands() override;

    // How a file or address is opened with the desktop; tests replace it.
    std::function<bool(const QUrl&)> openUrl;

    CHelpWindow* HelpWindow() const;
    void ShowContents();
    void OpenCustomHelp();
    void ShowAbout();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

private:
    bool Open(const QString& target);

    quillet::platform::Profile& profile_;
    std::function<QString()> helpPath_;
    std::function<QWidget*()> parent_;
    std::function<void()> configure_;
    QPointer<CHelpWindow> window_;
};
