#include "javatools/codegen/CCatchBlockDlg.h"

#include "javatools/codegen/DialogParts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

using namespace DialogParts;

CCatchBlockDlg::CCatchBlockDlg(const std::vector<std::string>& throwsList, QWidget* parent)
    : QDialog(parent), exceptionClass_(Combo(QStringLiteral("Exception Class"), throwsList, false, {}, this)),
      variable_(Field(QStringLiteral("Catch Var name"), {}, this))
{
    setWindowTitle(tr("Try/Catch block"));
    auto* form = new QFormLayout(this);
    form->addRow(tr("Exception Class:"), exceptionClass_);
    form->addRow(tr("Catch Var name:"), variable_);
    AddButtons(this, form);
}

void CCatchBlockDlg::accept()
{
    declaration_.exceptionClass = Text(exceptionClass_);
    declaration_.variable = Text(variable_);
    if (Refuse(declaration_.Validate()))
        return;
    QDialog::accept();
}
