#pragma once

#include "javatools/build/BuildDialogData.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Invoke App/Applet Viewer": the run of an application or applet. The
// file list offers the base name's class and pages; Specify CLASSPATH
// enables its field (proposing "-classpath <working directory>"), Run as
// Applet enables Debug Applet, and Debug Applet adds or removes "-debug" in
// the viewer's arguments.
class CJViewDialog : public QDialog {
    Q_OBJECT
public:
    CJViewDialog(ViewerDialogData& data, QWidget* parent = nullptr);
    void accept() override;

    QComboBox* file;
    QCheckBox* runAsApplet;
    QCheckBox* debugApplet;
    QLineEdit* workingDirectory;
    QCheckBox* specifyClasspath;
    QLineEdit* classpath;
    QLineEdit* viewerArguments;
    QLineEdit* programArguments;

private:
    void OnSpecifyClasspath();
    void OnRunAsApplet();
    void OnDebugApplet();

    ViewerDialogData& data_;
};
