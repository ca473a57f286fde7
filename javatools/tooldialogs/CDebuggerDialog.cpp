#include "javatools/tooldialogs/CDebuggerDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CDebuggerDialog::CDebuggerDialog(DebuggerDialogData& data, QWidget* parent)
    : QDialog(parent), data_(data)
{
    setWindowTitle(tr("Debug"));
    auto* form = new QFormLayout(this);
    auto* note = new QLabel(
        tr("Note: this is for debugging Applications only. For debugging of Applets, please run "
           "the applet viewer (Shift+F5, or the button below) and use the -debug option"));
    note->setWordWrap(true);
    form->addRow(note);
    debuggerPath = new QLineEdit(QString::fromStdString(data.debuggerPath));
    className = new QLineEdit(QString::fromStdString(data.className));
    classpath = new QLineEdit(QString::fromStdString(data.classpath));
    autoBreakpoints = new QCheckBox(tr("Auto-set &Breakpoints"));
    autoBreakpoints->setToolTip(tr("Use breakpoints in current editor window"));
    autoBreakpoints->setChecked(data.autoBreakpoints);
    launchImmediately = new QCheckBox(tr("&Launch Immediately"));
    launchImmediately->setToolTip(tr("Excutes Run command at debugger startup"));
    launchImmediately->setChecked(data.launchImmediately);
    form->addRow(tr("Java Debugger"), debuggerPath);
    form->addRow(tr("Class to debug"), className);
    form->addRow(tr("CLASSPATH (must be set)"), classpath);
    form->addRow(autoBreakpoints);
    form->addRow(launchImmediately);

    auto* buttons = new QDialogButtonBox;
    QPushButton* debug = buttons->addButton(tr("&Debug Application"), QDialogButtonBox::AcceptRole);
    debug->setDefault(true);
    QPushButton* applet = buttons->addButton(tr("Run as &Applet with Debug"), QDialogButtonBox::ActionRole);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDebuggerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDebuggerDialog::reject);
    connect(applet, &QPushButton::clicked, this, [this] {
        TakeFields();
        done(kRunAsApplet);
    });
    form->addRow(buttons);
    resize(480, sizeHint().height());
}

void CDebuggerDialog::TakeFields()
{
    data_.debuggerPath = debuggerPath->text().toStdString();
    data_.className = className->text().toStdString();
    data_.classpath = classpath->text().toStdString();
    data_.autoBreakpoints = autoBreakpoints->isChecked();
    data_.launchImmediately = launchImmediately->isChecked();
}

void CDebuggerDialog::accept()
{
    TakeFields();
    QDialog::accept();
}

DebuggerDialogResult CDebuggerDialog::Outcome() const
{
    if (result() == kRunAsApplet)
        return DebuggerDialogResult::RunAsApplet;
    return result() == QDialog::Accepted ? DebuggerDialogResult::DebugApplication
                                         : DebuggerDialogResult::Cancel;
}
