#pragma once

#include <QDialog>

class QLabel;
class QPrinter;
class QPushButton;
class VxEditPrinter;

// Print Preview: one or two whole pages of a print job at a time, scaled to
// the window, drawn by the job's own print steps. Only the pages on show
// are drawn, so a job of thousands of pages opens at once. "Print..." ends
// the preview with kPrintRequested, so that the caller prints.
class VxEditPrintPreview : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPrintRequested = 2;

    // The job has been laid out for the printer already.
    VxEditPrintPreview(VxEditPrinter& job, QPrinter& printer, QWidget* parent = nullptr);

    int CurrentPage() const { return page_; }
    int PagesShown() const { return twoPages_ && page_ < pageCount_ ? 2 : 1; }
    void ShowPage(int page);
    void NextPage();
    void PreviousPage();
    void SetTwoPages(bool on);
    bool TwoPages() const { return twoPages_; }

    QPushButton* PrintButton() const { return print_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* PagesButton() const { return pages_; }
    QPushButton* CloseButton() const { return close_; }
    QLabel* PageLabel() const { return label_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateControls();

    VxEditPrinter& job_;
    int pageCount_;
    int page_ = 1;
    bool twoPages_ = false;
    int shown_ = 1;  // pages on show, read by the page area
    QWidget* area_;
    QPushButton* print_;
    QPushButton* next_;
    QPushButton* previous_;
    QPushButton* pages_;
    QPushButton* close_;
    QLabel* label_;
};
