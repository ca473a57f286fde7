#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
struct JavaToolPaths;

namespace quillet::platform {
class Profile;
}

// "Tools Directories": the persistent tool paths and flags. It reads them
// from the settings store when it opens and writes them all back on OK,
// with the application's auto-save flag; Cancel changes nothing. Detect
// fills the Java tools from the installed JDK and the JUnit launcher from
// /usr/share/java.
class CToolsDialog : public QDialog {
    Q_OBJECT
public:
    CToolsDialog(quillet::platform::Profile& settings, int& compileAutoSave,
                 QWidget* parent = nullptr);

    // Fills the application viewer, compiler and debugger fields with the
    // paths found; a field whose program was not found keeps its text.
    void ApplyDetected(const JavaToolPaths& paths);

    void accept() override;

    QLineEdit* appViewer;
    QLineEdit* appletViewer;
    QCheckBox* keepConsole;
    QLineEdit* compiler;
    QCheckBox* useOutputWindow;
    QCheckBox* autoSave;
    QCheckBox* checkOnSave;
    QLineEdit* debugger;
    // The JUnit console launcher's jar.
    QLineEdit* junit;
    QLineEdit* helpFile;

private:
    void Browse(QLineEdit* field, bool helpFiles);
    void Detect();

    quillet::platform::Profile& settings_;
    int& compileAutoSave_;
};
