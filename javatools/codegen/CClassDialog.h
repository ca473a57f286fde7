#pragma once

#include "javatools/codegen/CodeDeclarations.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Add New Class": the header of a new class and the members to generate
// with it. OK refuses an empty name and removes the spaces from a name.
class CClassDialog : public QDialog {
    Q_OBJECT
public:
    CClassDialog(const std::vector<std::string>& extendsList,
                 const std::vector<std::string>& implementsList, QWidget* parent = nullptr);

    const NewClassDeclaration& Declaration() const { return declaration_; }

    void accept() override;

private:
    NewClassDeclaration declaration_;
    QCheckBox* public_;
    QCheckBox* final_;
    QLineEdit* name_;
    QCheckBox* extends_;
    QComboBox* extendsText_;
    QCheckBox* implements_;
    QComboBox* implementsText_;
    QCheckBox* main_;
    QCheckBox* init_;
    QCheckBox* constructor_;
    QLineEdit* constructorParams_;
    QCheckBox* finalize_;
};
