#pragma once

#include "javatools/build/BuildDialogData.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

// "Compile": the compiler call of one compile, with the source and class
// paths the program's other files are found on. Filled from the data when it
// opens; OK refuses a compiler path or target of six characters or fewer
// and otherwise writes the fields back.
class CCompileDialog : public QDialog {
    Q_OBJECT
public:
    CCompileDialog(CompileDialogData& data, QWidget* parent = nullptr);
    void accept() override;

    QLineEdit* compilerPath;
    QPlainTextEdit* targetFile;
    QCheckBox* compileAll;
    QLineEdit* sourcePath;
    QLineEdit* classPath;
    QLineEdit* arguments;
    QCheckBox* clearErrors;

private:
    CompileDialogData& data_;
};
