#include "javatools/tooldialogs/CJViewDialog.h"

#include "javatools/build/ToolDialogRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

CJViewDialog::CJViewDialog(ViewerDialogData& data, QWidget* parent) : QDialog(parent), data_(data)
{
    setWindowTitle(tr("Invoke App/Applet Viewer"));
    auto* form = new QFormLayout(this);
    file = new QComboBox;
    file->setEditable(true);
    file->setInsertPolicy(QComboBox::InsertAlphabetically);
    for (const std::string& choice : ViewerFileChoices(data.baseName))
        file->addItem(QString::fromStdString(choice));
    file->setEditText(QString::fromStdString(data.file));
    // The class is typed in the list's edit field, which holds the focus.
    file->setAccessibleName(tr("Class or HTML file to view"));
    file->lineEdit()->setAccessibleName(file->accessibleName());
    runAsApplet = new QCheckBox(tr("Run as Applet "));
    runAsApplet->setToolTip(tr("(Uses the program defined as Applet Viewer under Tools Settings)"));
    runAsApplet->setChecked(data.runAsApplet);
    debugApplet = new QCheckBox(tr("Debug Applet"));
    debugApplet->setChecked(data.debugApplet);
    workingDirectory = new QLineEdit(QString::fromStdString(data.workingDirectory));
    specifyClasspath = new QCheckBox(tr("Specify CLASSPATH"));
    specifyClasspath->setChecked(data.specifyClasspath);
    classpath = new QLineEdit(QString::fromStdString(data.classpath));
    classpath->setAccessibleName(QStringLiteral("CLASSPATH"));
    viewerArguments = new QLineEdit(QString::fromStdString(data.viewerArguments));
    programArguments = new QLineEdit(QString::fromStdString(data.programArguments));

    form->addRow(tr("Class or HTML file to view"), file);
    form->addRow(runAsApplet);
    form->addRow(debugApplet);
    form->addRow(tr("Working Directory"), workingDirectory);
    form->addRow(specifyClasspath);
    form->addRow(QStringLiteral("CLASSPATH"), classpath);
    form->addRow(tr("Additional command line args for viewer"), viewerArguments);
    form->addRow(tr("Additional command line args for application/applet"), programArguments);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CJViewDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CJViewDialog::reject);
    form->addRow(buttons);

    classpath->setEnabled(specifyClasspath->isChecked());
    debugApplet->setEnabled(runAsApplet->isChecked());
    connect(specifyClasspath, &QCheckBox::clicked, this, &CJViewDialog::OnSpecifyClasspath);
    connect(runAsApplet, &QCheckBox::clicked, this, &CJViewDialog::OnRunAsApplet);
    connect(debugApplet, &QCheckBox::clicked, this, &CJViewDialog::OnDebugApplet);
    resize(560, sizeHint().height());
}

void CJViewDialog::OnSpecifyClasspath()
{
    const bool on = specifyClasspath->isChecked();
    classpath->setEnabled(on);
    if (on && classpath->text().isEmpty()) {
        classpath->setText(
            QString::fromStdString(ClasspathProposal(workingDirectory->text().toStdString())));
        classpath->setFocus();
        classpath->selectAll();
    }
}

void CJViewDialog::OnRunAsApplet()
{
    if (runAsApplet->isChecked()) {
        debugApplet->setEnabled(true);
        return;
    }
    debugApplet->setChecked(false);
    debugApplet->setEnabled(false);
    viewerArguments->setText(
        QString::fromStdString(WithoutDebugOption(viewerArguments->text().toStdString())));
}

void CJViewDialog::OnDebugApplet()
{
    const std::string arguments = viewerArguments->text().toStdString();
    viewerArguments->setText(QString::fromStdString(
        debugApplet->isChecked() ? WithDebugOption(arguments) : WithoutDebugOption(arguments)));
}

void CJViewDialog::accept()
{
    data_.file = file->currentText().toStdString();
    data_.runAsApplet = runAsApplet->isChecked();
    data_.debugApplet = debugApplet->isChecked();
    data_.workingDirectory = workingDirectory->text().toStdString();
    data_.specifyClasspath = specifyClasspath->isChecked();
    data_.classpath = classpath->text().toStdString();
    data_.viewerArguments = viewerArguments->text().toStdString();
    data_.programArguments = programArguments->text().toStdString();
    QDialog::accept();
}
