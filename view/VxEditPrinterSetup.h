#pragma once

#include <memory>

class QPrinter;
class QWidget;

// The printer settings that every print job of a run shares: the chosen
// printer, paper, orientation and margins. The printer is set up on first
// use, so a run that never prints never asks the print system for one.
class VxEditPrinterSetup {
public:
    VxEditPrinterSetup();
    ~VxEditPrinterSetup();
    VxEditPrinterSetup(const VxEditPrinterSetup&) = delete;
    VxEditPrinterSetup& operator=(const VxEditPrinterSetup&) = delete;

    QPrinter& Printer();
    // The page setup dialog (paper, orientation, margins as the printer
    // allows); true when the user confirmed it.
    bool ShowPageSetup(QWidget* parent);

    // Pages Print Preview shows at once: 1 or 2, 0 while never chosen (one).
    int PreviewPages() const { return previewPages_; }
    void SetPreviewPages(int pages) { previewPages_ = pages; }
    // Print and Print Preview use the syntax colours instead of black.
    bool PrintInColour() const { return printInColour_; }
    void SetPrintInColour(bool inColour) { printInColour_ = inColour; }

private:
    std::unique_ptr<QPrinter> printer_;
    int previewPages_ = 0;
    bool printInColour_ = false;
};
