#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;
class VxEditPrinter;

// Print Preview: one or two pages of a print job at a time, drawn by the
// job's own print steps, whole in the window, as wide as the window, or at a
// zoom of their own (scrolled). Only the pages on show are drawn, so a job
// of thousands of pages opens at once. "Print in colour" switches the job's
// colours. "Print..." ends the preview with kPrintRequested, so that the
// caller prints.
class VxEditPrintPreview : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPrintRequested = 2;
    // How big a page shows: whole, as wide as the window, or zoomed (the
    // zoom counts pixels of the screen per pixel of a 96 dpi page).
    enum class Fit { Page, Width, Zoom };

    // The job has been laid out for the printer already.
    VxEditPrintPreview(VxEditPrinter& job, QPrinter& printer, QWidget* parent = nullptr);

    int CurrentPage() const { return page_; }
    int PagesShown() const { return twoPages_ && page_ < pageCount_ ? 2 : 1; }
    void ShowPage(int page);
    void NextPage();
    void PreviousPage();
    void SetTwoPages(bool on);
    bool TwoPages() const { return twoPages_; }
    void SetFit(Fit fit);
    Fit CurrentFit() const { return fit_; }
    // Zooms in or out by one step from what is shown now.
    void ZoomIn();
    void ZoomOut();
    double Zoom() const { return zoom_; }

    QPushButton* PrintButton() const { return print_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* PagesButton() const { return pages_; }
    QPushButton* CloseButton() const { return close_; }
    QCheckBox* InColourBox() const { return inColour_; }
    QLabel* PageLabel() const { return label_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateControls();
    void resizeEvent(QResizeEvent* event) override;
    // The zoom that fit page or fit width shows now.
    double FittedZoom(Fit fit) const;
    void LayOutArea();

    VxEditPrinter& job_;
    int pageCount_;
    int page_ = 1;
    bool twoPages_ = false;
    int shown_ = 1;  // pages on show, read by the page area
    Fit fit_ = Fit::Page;
    double zoom_ = 1.0;  // read by the page area
    QSizeF sheet_;       // a sheet at zoom 1
    QScrollArea* scroll_;
    QWidget* area_;
    QPushButton* print_;
    QPushButton* next_;
    QPushButton* previous_;
    QPushButton* pages_;
    QPushButton* close_;
    QPushButton* fitPage_;
    QPushButton* fitWidth_;
    QPushButton* zoomIn_;
    QPushButton* zoomOut_;
    QCheckBox* inColour_;
    QLabel* label_;
};
