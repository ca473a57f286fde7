#pragma once

#include "view/CScrivoView.h"

#include <string>

class OutputController;

// The output window's edit control: an edit view on a text model of its
// own, read-only, with the output window's context menu (Copy, Select All,
// Clear) and the double-click that leads to a reported line.
class OutputVxEditCtrl : public CScrivoView {
    Q_OBJECT
public:
    static constexpr int kControlId = 300;

    explicit OutputVxEditCtrl(QWidget* parent = nullptr);
    ~OutputVxEditCtrl() override;

    OutputController& Output();
    // Replaces the whole text and repaints at once. Relative file names in
    // messages are read against baseDirectory.
    void ShowText(const std::string& text, const std::string& baseDirectory);
    std::string Text() const;
    const std::string& BaseDirectory() const { return baseDirectory_; }

    void ShowContextMenu(const QPoint& point) override;

signals:
    // A double-clicked message reports a line (0-based) of file, relative
    // names already made absolute against the base directory when they name
    // an existing file; file is empty when the message names none that exists.
    void ErrorLineRequested(const QString& file, int line, int column);

protected:
    // Copy and Select All keys act here while the window has the focus,
    // before the main frame's shortcuts send them to the document.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::string baseDirectory_;
};
