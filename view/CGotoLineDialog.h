#pragma once

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;

// Asks for a line number to go to: digits only, preset with the caret's
// line number and selected. An empty entry keeps the dialog open.
class CGotoLineDialog : public QDialog {
    Q_OBJECT
public:
    CGotoLineDialog(std::int64_t lineNumber, QWidget* parent = nullptr);

    // The number entered, valid after Go.
    std::int64_t LineNumber() const { return lineNumber_; }
    QLineEdit* NumberEdit() const { return edit_; }
    QPushButton* GoButton() const { return go_; }

    void accept() override;

private:
    QLineEdit* edit_;
    QPushButton* go_;
    std::int64_t lineNumber_ = 0;
};
