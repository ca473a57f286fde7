#pragma once

#include "javatools/codegen/CodeDeclarations.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

// "Try/Catch block": the exception class to catch and its variable's name.
class CCatchBlockDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCatchBlockDlg(const std::vector<std::string>& throwsList, QWidget* parent = nullptr);

    const TryCatchDeclaration& Declaration() const { return declaration_; }

    void accept() override;

private:
    TryCatchDeclaration declaration_;
    QComboBox* exceptionClass_;
    QLineEdit* variable_;
};
