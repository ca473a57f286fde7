#pragma once

#include "javatools/codegen/CodeDeclarations.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Define New Interface". Abstract and Extends exclude each other; the
// extended interface is chosen from the implemented-interfaces list.
class CInterfaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit CInterfaceDialog(const std::vector<std::string>& implementsList, QWidget* parent = nullptr);

    const NewInterfaceDeclaration& Declaration() const { return declaration_; }

    void accept() override;

private:
    NewInterfaceDeclaration declaration_;
    QCheckBox* public_;
    QCheckBox* abstract_;
    QLineEdit* name_;
    QCheckBox* extends_;
    QComboBox* extendsText_;
};
