#include "javatools/codegen/CVariableDialog.h"

#include "javatools/codegen/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>

using namespace DialogParts;

CVariableDialog::CVariableDialog(const std::vector<std::string>& varTypesList, QWidget* parent)
    : QDialog(parent), type_(Combo(QStringLiteral("Type"), varTypesList, false, {}, this)),
      name_(Field(QStringLiteral("Name"), {}, this)), public_(Check(tr("Public"), this)),
      private_(Check(tr("Private"), this)), protected_(Check(tr("Protected"), this)),
      static_(Check(tr("Static"), this)), final_(Check(tr("Final"), this))
{
    setWindowTitle(tr("Add Member Variable"));
    auto* form = new QFormLayout(this);
    form->addRow(tr("Type:"), type_);
    form->addRow(tr("Name:"), name_);
    auto* modifiers = new QHBoxLayout;
    for (QCheckBox* box : {public_, private_, protected_, static_, final_})
        modifiers->addWidget(box);
    form->addRow(modifiers);
    AddButtons(this, form);

    // One access modifier at most.
    const QList<QCheckBox*> access = {public_, private_, protected_};
    for (QCheckBox* box : access) {
        connect(box, &QCheckBox::toggled, this, [box, access](bool on) {
            if (!on)
                return;
            for (QCheckBox* other : access) {
                if (other != box)
                    other->setChecked(false);
            }
        });
    }
}

void CVariableDialog::accept()
{
    declaration_.type = Text(type_);
    declaration_.name = Text(name_);
    declaration_.isPublic = public_->isChecked();
    declaration_.isPrivate = private_->isChecked();
    declaration_.isProtected = protected_->isChecked();
    declaration_.isStatic = static_->isChecked();
    declaration_.isFinal = final_->isChecked();
    if (Refuse(declaration_.Validate()))
        return;
    QDialog::accept();
}
