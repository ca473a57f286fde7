#include "view/VxEditPrinterSetup.h"

#include <QPageSetupDialog>
#include <QPrinter>

VxEditPrinterSetup::VxEditPrinterSetup() = default;

VxEditPrinterSetup::~VxEditPrinterSetup() = default;

QPrinter& VxEditPrinterSetup::Printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool VxEditPrinterSetup::ShowPageSetup(QWidget* parent)
{
    QPageSetupDialog dialog(&Printer(), parent);
    return dialog.exec() == QDialog::Accepted;
}
