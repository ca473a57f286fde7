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
      constructorParams_(Field(QStringLiteral("Ctor params"), spec_.constructorParams, this)),
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
    spec_.isPublic = public_->isChecked();
    spec_.isFinal = final_->isChecked();
    spec_.name = Text(name_);
    spec_.extends = extends_->isChecked();
    spec_.extendsText = Text(extendsText_);
    spec_.implements = implements_->isChecked();
    spec_.implementsText = Text(implementsText_);
    spec_.generateMain = main_->isChecked();
    spec_.generateInit = init_->isChecked();
    spec_.generateConstructor = constructor_->isChecked();
    spec_.constructorParams = Text(constructorParams_);
    spec_.generateFinalize = finalize_->isChecked();
    if (Refuse(spec_.Validate()))
        return;
    name_->setText(QString::fromStdString(spec_.name));
    QDialog::accept();
}
