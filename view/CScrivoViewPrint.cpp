// The edit view's print commands: Print and Print Preview of its text,
// laid out once per job by the view's print steps.
#include "view/CScrivoView.h"

#include "platform/core/MessageSeam.h"
#include "view/VxEditPrintPreview.h"
#include "view/VxEditPrinter.h"
#include "view/VxEditPrinterSetup.h"

#include <QCheckBox>
#include <QPrintDialog>
#include <QVBoxLayout>
#include <QPrinter>

namespace {

// The highest page the print dialog offers before the job is laid out for
// the printer the user picks.
constexpr int kMaxDialogPage = 0xFFFF;

}  // namespace

void CScrivoView::SetPrinting(VxEditPrinterSetup* setup, std::function<std::string()> title)
{
    printerSetup_ = setup;
    printTitle_ = std::move(title);
}

std::string CScrivoView::PrintTitle() const
{
    return printTitle_ ? printTitle_() : std::string();
}

bool CScrivoView::FilePrint()
{
    if (!printerSetup_)
        return false;
    QPrinter& printer = printerSetup_->Printer();
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setMinMax(1, kMaxDialogPage);
    auto* options = new QWidget;
    options->setWindowTitle(tr("Colour"));
    auto* inColour = new QCheckBox(tr("Print in colour"), options);
    inColour->setChecked(printerSetup_->PrintInColour());
    (new QVBoxLayout(options))->addWidget(inColour);
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printerSetup_->SetPrintInColour(inColour->isChecked());
    VxEditPrinter job(Model(), PrintTitle());
    job.SetInColour(printerSetup_->PrintInColour());
    job.BeginPrinting(printer);
    if (job.PrintTo(printer))
        return true;
    const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    quillet::platform::ShowMessage("Cannot print to " + target.toStdString() + ".");
    return false;
}

void CScrivoView::FilePrintPreview()
{
    if (!printerSetup_)
        return;
    QPrinter& printer = printerSetup_->Printer();
    VxEditPrinter job(Model(), PrintTitle());
    job.SetInColour(printerSetup_->PrintInColour());
    job.BeginPrinting(printer);
    VxEditPrintPreview preview(job, printer, this);
    preview.SetTwoPages(printerSetup_->PreviewPages() == 2);
    const int result = preview.exec();
    printerSetup_->SetPreviewPages(preview.TwoPages() ? 2 : 1);
    printerSetup_->SetPrintInColour(job.InColour());
    if (result == VxEditPrintPreview::kPrintRequested)
        FilePrint();
}
