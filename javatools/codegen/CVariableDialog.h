#pragma once

#include "javatools/codegen/CodeDeclarations.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Add Member Variable": type, name, one access modifier, static and final.
class CVariableDialog : public QDialog {
    Q_OBJECT
public:
    explicit CVariableDialog(const std::vector<std::string>& varTypesList, QWidget* parent = nullptr);

    const MemberVariableDeclaration& Declaration() const { return declaration_; }

    void accept() override;

private:
    MemberVariableDeclaration declaration_;
    QComboBox* type_;
    QLineEdit* name_;
    QCheckBox* public_;
    QCheckBox* private_;
    QCheckBox* protected_;
    QCheckBox* static_;
    QCheckBox* final_;
};
