#include "javatools/codegen/CMethodDialog.h"

#include "javatools/codegen/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>

using namespace DialogParts;

CMethodDialog::CMethodDialog(const std::vector<std::string>& varTypesList,
                             const std::vector<std::string>& throwsList, QWidget* parent)
    : QDialog(parent), public_(Check(tr("Public"), this)), private_(Check(tr("Private"), this)),
      protected_(Check(tr("Protected"), this)), abstract_(Check(tr("Abstract"), this)),
      static_(Check(tr("Static"), this)), final_(Check(tr("Final"), this)),
      synchronized_(Check(tr("Synchronized"), this)),
      returnType_(Combo(QStringLiteral("Return Type"), varTypesList, false, declaration_.returnType, this)),
      name_(Field(QStringLiteral("Method Name"), {}, this)),
      parameters_(Field(QStringLiteral("Parameters"), declaration_.parameters, this)),
      throws_(Check(tr("Throws Exception"), this)),
      exception_(Combo(QStringLiteral("thrown exception"), throwsList, false, {}, this))
{
    setWindowTitle(tr("Add Method"));
    auto* form = new QFormLayout(this);
    auto* modifiers = new QHBoxLayout;
    for (QCheckBox* box : {public_, private_, protected_, abstract_, static_, final_, synchronized_})
        modifiers->addWidget(box);
    form->addRow(modifiers);
    form->addRow(tr("Return Type:"), returnType_);
    form->addRow(tr("Method Name:"), name_);
    form->addRow(tr("Parameters:"), parameters_);
    form->addRow(throws_, exception_);
    AddButtons(this, form);
    NameField(exception_, tr("Thrown exception"));

    Excludes(public_, {private_, protected_});
    Excludes(private_, {public_, protected_, abstract_});
    Excludes(protected_, {public_, private_});
    Excludes(static_, {abstract_});
    Excludes(final_, {abstract_});
    // An abstract method is neither private, static nor final.
    connect(abstract_, &QCheckBox::toggled, this, [this](bool on) {
        for (QCheckBox* box : {private_, static_, final_}) {
            if (on)
                box->setChecked(false);
            box->setEnabled(!on);
        }
    });
    exception_->setEnabled(false);
    connect(throws_, &QCheckBox::toggled, exception_, &QWidget::setEnabled);
}

void CMethodDialog::Excludes(QCheckBox* box, std::initializer_list<QCheckBox*> others)
{
    const std::vector<QCheckBox*> cleared(others);
    connect(box, &QCheckBox::toggled, this, [cleared](bool on) {
        if (!on)
            return;
        for (QCheckBox* other : cleared)
            other->setChecked(false);
    });
}

void CMethodDialog::accept()
{
    declaration_.isPublic = public_->isChecked();
    declaration_.isPrivate = private_->isChecked();
    declaration_.isProtected = protected_->isChecked();
    declaration_.isAbstract = abstract_->isChecked();
    declaration_.isStatic = static_->isChecked();
    declaration_.isFinal = final_->isChecked();
    declaration_.isSynchronized = synchronized_->isChecked();
    declaration_.returnType = Text(returnType_);
    declaration_.name = Text(name_);
    declaration_.parameters = Text(parameters_);
    declaration_.throwsException = throws_->isChecked();
    declaration_.exception = Text(exception_);
    if (Refuse(declaration_.Validate()))
        return;
    QDialog::accept();
}
