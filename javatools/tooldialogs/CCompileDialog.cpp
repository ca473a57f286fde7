#include "javatools/tooldialogs/CCompileDialog.h"

#include "javatools/build/ToolDialogRules.h"
#include "platform/core/MessageSeam.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

CCompileDialog::CCompileDialog(CompileDialogData& data, QWidget* parent)
    : QDialog(parent), data_(data)
{
    setWindowTitle(tr("Compile"));
    auto* form = new QFormLayout(this);
    compilerPath = new QLineEdit(QString::fromStdString(data.compilerPath));
    targetFile = new QPlainTextEdit(QString::fromStdString(data.targetFile));
    targetFile->setReadOnly(true);
    targetFile->setMaximumHeight(targetFile->fontMetrics().lineSpacing() * 3 + 12);
    compileAll = new QCheckBox(tr("Compile All files in this directory"));
    compileAll->setChecked(data.compileAll);
    sourcePath = new QLineEdit(QString::fromStdString(data.sourcePath));
    classPath = new QLineEdit(QString::fromStdString(data.classPath));
    arguments = new QLineEdit(QString::fromStdString(data.arguments));
    clearErrors = new QCheckBox(tr("Clear previously marked errors"));
    clearErrors->setChecked(data.clearErrors);
    form->addRow(tr("Compiler Path"), compilerPath);
    form->addRow(tr("Target File"), targetFile);
    form->addRow(compileAll);
    form->addRow(tr("Source path (-sourcepath)"), sourcePath);
    form->addRow(tr("Class path (-classpath)"), classPath);
    form->addRow(tr("Additional Command line args"), arguments);
    form->addRow(clearErrors);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCompileDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCompileDialog::reject);
    form->addRow(buttons);
    resize(520, sizeHint().height());
}

void CCompileDialog::accept()
{
    CompileDialogData entered = data_;
    entered.compilerPath = compilerPath->text().toStdString();
    entered.targetFile = targetFile->toPlainText().toStdString();
    entered.compileAll = compileAll->isChecked();
    entered.sourcePath = sourcePath->text().toStdString();
    entered.classPath = classPath->text().toStdString();
    entered.arguments = arguments->text().toStdString();
    entered.clearErrors = clearErrors->isChecked();
    const std::string refusal = CompileDialogRefusal(entered);
    if (!refusal.empty()) {
        quillet::platform::ShowMessage(refusal);
        return;
    }
    data_ = entered;
    QDialog::accept();
}
