#include "javatools/codegen/CInterfaceDialog.h"

#include "javatools/codegen/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

using namespace DialogParts;

CInterfaceDialog::CInterfaceDialog(const std::vector<std::string>& implementsList, QWidget* parent)
    : QDialog(parent), public_(Check(tr("Public"), this)), abstract_(Check(tr("Abstract"), this)),
      name_(Field(QStringLiteral("Interface Name"), {}, this)), extends_(Check(tr("Extends"), this)),
      extendsText_(Combo(QStringLiteral("extended interface"), implementsList, true, {}, this))
{
    setWindowTitle(tr("Define New Interface"));
    auto* form = new QFormLayout(this);
    form->addRow(public_, abstract_);
    form->addRow(tr("Interface Name:"), name_);
    form->addRow(extends_, extendsText_);
    AddButtons(this, form);
    NameField(extendsText_, tr("Extends interface"));

    extendsText_->setEnabled(false);
    connect(abstract_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            extends_->setChecked(false);
    });
    connect(extends_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            abstract_->setChecked(false);
        extendsText_->setEnabled(on);
    });
}

void CInterfaceDialog::accept()
{
    declaration_.isPublic = public_->isChecked();
    declaration_.isAbstract = abstract_->isChecked();
    declaration_.name = Text(name_);
    declaration_.extends = extends_->isChecked();
    declaration_.extendsText = Text(extendsText_);
    if (Refuse(declaration_.Validate()))
        return;
    QDialog::accept();
}
