#pragma once

#include "javatools/build/BuildDialogData.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

// "Debug": the debugger call. OK ("&Debug Application") and "Run as
// &Applet with Debug" (result 7) both take the fields over without checks.
class CDebuggerDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRunAsApplet = 7;

    CDebuggerDialog(DebuggerDialogData& data, QWidget* parent = nullptr);
    void accept() override;
    // The result as the Debug command reads it.
    DebuggerDialogResult Outcome() const;

    QLineEdit* debuggerPath;
    QLineEdit* className;
    QLineEdit* classpath;
    QCheckBox* autoBreakpoints;
    QCheckBox* launchImmediately;

private:
    void TakeFields();

    DebuggerDialogData& data_;
};
