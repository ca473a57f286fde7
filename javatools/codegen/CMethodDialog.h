#pragma once

#include "javatools/codegen/CodeDeclarations.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Add Method": modifiers (with their exclusions), return type, name,
// parameters and an optional thrown exception.
class CMethodDialog : public QDialog {
    Q_OBJECT
public:
    CMethodDialog(const std::vector<std::string>& varTypesList, const std::vector<std::string>& throwsList,
                  QWidget* parent = nullptr);

    const MethodDeclaration& Declaration() const { return declaration_; }

    void accept() override;

private:
    // Checking `box` clears each of `others`.
    void Excludes(QCheckBox* box, std::initializer_list<QCheckBox*> others);

    MethodDeclaration declaration_;
    QCheckBox* public_;
    QCheckBox* private_;
    QCheckBox* protected_;
    QCheckBox* abstract_;
    QCheckBox* static_;
    QCheckBox* final_;
    QCheckBox* synchronized_;
    QComboBox* returnType_;
    QLineEdit* name_;
    QLineEdit* parameters_;
    QCheckBox* throws_;
    QComboBox* exception_;
};
