#include "javatools/codegen/DialogParts.h"

#include "platform/core/MessageSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace DialogParts {

QCheckBox* Check(const QString& text, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString(text).remove(QLatin1Char('&')));
    return box;
}

QLineEdit* Field(const QString& name, const std::string& text, QWidget* parent)
{
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setObjectName(name);
    return field;
}

QComboBox* Combo(const QString& name, const std::vector<std::string>& entries, bool skipEmpty,
                 const std::string& text, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    std::vector<std::string> sorted;
    for (const std::string& entry : entries) {
        if (!(skipEmpty && entry.empty()))
            sorted.push_back(entry);
    }
    std::sort(sorted.begin(), sorted.end());
    for (const std::string& entry : sorted)
        combo->addItem(QString::fromStdString(entry));
    combo->setEditText(QString::fromStdString(text));
    return combo;
}

void NameField(QWidget* field, const QString& name)
{
    field->setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
}

std::string Text(const QLineEdit* field)
{
    return field->text().toStdString();
}

std::string Text(const QComboBox* combo)
{
    return combo->currentText().toStdString();
}

void AddButtons(QDialog* dialog, QFormLayout* form)
{
    // A drop-down list that can be typed in has the focus in its edit
    // field, which a screen reader names apart from the list.
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        auto* combo = qobject_cast<QComboBox*>(label->buddy());
        if (combo && combo->lineEdit() && combo->lineEdit()->accessibleName().isEmpty())
            combo->lineEdit()->setAccessibleName(label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
}

bool Refuse(const std::string& message)
{
    if (message.empty())
        return false;
    quillet::platform::ShowMessage(message, quillet::platform::MessageButtons::Ok,
                                   quillet::platform::MessageIcon::None);
    return true;
}

}  // namespace DialogParts
