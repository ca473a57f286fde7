#include "platform/qt/QtMessageSink.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace quillet::platform {

namespace {

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::Warning;
}

MessageAnswer AnswerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
    }
}

}  // namespace

MessageAnswer QtMessageSink::Show(const Message& message)
{
    const QString title = message.title.empty() ? QStringLiteral("Quillet")
                                                : QString::fromStdString(message.title);
    QMessageBox box(IconOf(message.icon), title, QString::fromStdString(message.text),
                    ButtonsOf(message.buttons), parent_);
    if (!message.yesText.empty() && box.button(QMessageBox::Yes))
        box.button(QMessageBox::Yes)->setText(QString::fromStdString(message.yesText));
    if (!message.noText.empty() && box.button(QMessageBox::No))
        box.button(QMessageBox::No)->setText(QString::fromStdString(message.noText));
    // A wait cursor must not hide the arrow while the user answers.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int button = box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
    return AnswerOf(button);
}

QStringList QtMessageSink::Choose(const FileDialogRequest& request, bool several)
{
    QStringList filters;
    for (const std::string& filter : request.filters)
        filters << QString::fromStdString(filter);
    QFileDialog dialog(parent_, QString::fromStdString(request.title),
                       QString::fromStdString(request.initialPath));
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save    ? QFileDialog::AnyFile
                       : several ? QFileDialog::ExistingFiles
                                 : QFileDialog::ExistingFile);
    // The dialog adds the suffix itself, so that it asks before replacing
    // the file that will really be written.
    if (request.save && request.defaultSuffix.size() > 1 && request.defaultSuffix[0] == '.')
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix.substr(1)));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

bool QtMessageSink::ChooseFile(const FileDialogRequest& request, std::string& path)
{
    const QStringList chosen = Choose(request, false);
    if (chosen.isEmpty())
        return false;
    path = chosen.constFirst().toStdString();
    return true;
}

bool QtMessageSink::ChooseFiles(const FileDialogRequest& request, std::vector<std::string>& paths)
{
    for (const QString& path : Choose(request, true))
        paths.push_back(path.toStdString());
    return !paths.empty();
}

void QtMessageSink::BeginWait()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtMessageSink::EndWait()
{
    QApplication::restoreOverrideCursor();
}

}  // namespace quillet::platform
