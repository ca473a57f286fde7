#include "javatools/codegen/CClassDialog.h"

#include "javatools/codegen/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

using namespace DialogParts;

CClassDialog::CClassDialog(const std::vector<std::string>& extendsList,
                           const std::vector<std::string>& implementsList, QWidget* parent)
    : QDialog(parent), public_(Check(tr("Public"), this)), final_(Check(tr("Final"), this)),
      name_(Field(QStringLiteral("Class Name"), {}, this)), extends_(Check(tr("Extends"), this)),
      extendsText_(Combo(QStringLiteral("extends class"), extendsList, true, {}, this)),
      implements_(Check(tr("Implements"), this)),
      implementsText_(Combo(QStringLiteral("implemented interface"), implementsList, true, {}, this)),
      main_(Check(tr("Generate main(...) method"), this)), init_(Check(tr("Generate init(...) method"), this)),
      constructor_(Check(tr("Generate Constructor"), this)),
      constructorParams_(Field(QStringLiteral("Ctor params"), declaration_.constructorParams, this)),
      finalize_(Check(tr("Generate finalize()"), this))
{
    setWindowTitle(tr("Add New Class"));
    auto* form = new QFormLayout(this);
    form->addRow(public_, final_);
    form->addRow(tr("Class Name:"), name_);
    form->addRow(extends_, extendsText_);
    form->addRow(implements_, implementsText_);
    form->addRow(main_, init_);
    form->addRow(constructor_, constructorParams_);
    form->addRow(finalize_);
    AddButtons(this, form);
    NameField(extendsText_, tr("Extends class"));
    NameField(implementsText_, tr("Implements interfaces"));
    NameField(constructorParams_, tr("Constructor parameters"));

    for (QWidget* dependent : {static_cast<QWidget*>(extendsText_), static_cast<QWidget*>(implementsText_),
                               static_cast<QWidget*>(constructorParams_)})
        dependent->setEnabled(false);
    connect(extends_, &QCheckBox::toggled, extendsText_, &QWidget::setEnabled);
    connect(implements_, &QCheckBox::toggled, implementsText_, &QWidget::setEnabled);
    connect(constructor_, &QCheckBox::toggled, constructorParams_, &QWidget::setEnabled);
    // An application's main and an applet's init exclude each other.
    connect(main_, &QCheckBox::toggled, this, [this](bool on) { if (on) init_->setChecked(false); });
    connect(init_, &QCheckBox::toggled, this, [this](bool on) { if (on) main_->setChecked(false); });
}

void CClassDialog::accept()
{
    declaration_.isPublic = public_->isChecked();
    declaration_.isFinal = final_->isChecked();
    declaration_.name = Text(name_);
    declaration_.extends = extends_->isChecked();
    declaration_.extendsText = Text(extendsText_);
    declaration_.implements = implements_->isChecked();
    declaration_.implementsText = Text(implementsText_);
    declaration_.generateMain = main_->isChecked();
    declaration_.generateInit = init_->isChecked();
    declaration_.generateConstructor = constructor_->isChecked();
    declaration_.constructorParams = Text(constructorParams_);
    declaration_.generateFinalize = finalize_->isChecked();
    if (Refuse(declaration_.Validate()))
        return;
    name_->setText(QString::fromStdString(declaration_.name));
    QDialog::accept();
}
