#pragma once

#include <QString>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialog;
class QFormLayout;
class QLineEdit;
class QWidget;

// The pieces the code-generation dialogs share. Controls carry their label
// (without the mnemonic) as object name, so tests and accessibility tools
// find them.
namespace DialogParts {

QCheckBox* Check(const QString& text, QWidget* parent);
QLineEdit* Field(const QString& name, const std::string& text, QWidget* parent);
// An editable drop-down list of the entries, sorted; empty entries are left
// out when skipEmpty is set. The edit field starts with text.
QComboBox* Combo(const QString& name, const std::vector<std::string>& entries, bool skipEmpty,
                 const std::string& text, QWidget* parent);
// Names a field for screen readers when a check box, not a label, stands
// before it; a drop-down list's edit field gets the name too, since that
// is what holds the focus.
void NameField(QWidget* field, const QString& name);
std::string Text(const QLineEdit* field);
std::string Text(const QComboBox* combo);
// OK and Cancel at the foot of the form; OK runs the dialog's accept. The
// edit field of each drop-down list is named after the list's label.
void AddButtons(QDialog* dialog, QFormLayout* form);
// Shows a refusal as a plain OK message; true when there was one.
bool Refuse(const std::string& message);

}  // namespace DialogParts
