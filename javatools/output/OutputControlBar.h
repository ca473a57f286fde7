#pragma once

#include <QDockWidget>

#include <string>

class OutputVxEditCtrl;

// The docking bar "Output Window" that holds the output window's edit
// control as its only child; the control always fills the bar.
class OutputControlBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Output Window";

    explicit OutputControlBar(QWidget* parent = nullptr);

    OutputVxEditCtrl* Control() const { return control_; }
    // Shows the bar if it is hidden, replaces the control's whole text and
    // repaints it at once.
    void ShowOutput(const std::string& text, const std::string& baseDirectory);

signals:
    // The window was given a new text.
    void OutputShown();

private:
    OutputVxEditCtrl* control_;
};
