#pragma once

#include "mvc/ICommandTarget.h"

#include <vector>

class QFont;
class QWidget;
class CChildFrame;
class CMainFrame;
class CScrivoDoc;
class VxEditPrinterSetup;
class VxEditController;

// The edit view of one child window on a document, and the targets that the
// window routes commands to before the document (the view, its controller).
struct EditViewParts {
    QWidget* widget = nullptr;
    std::vector<tarrow::foundation::ICommandTarget*> route;
};

// Print and Print Preview of the view use the shared printer settings.
EditViewParts CreateEditView(CScrivoDoc& document, VxEditPrinterSetup* printerSetup);
// Shows the view's caret position in the child's status bar and its
// overwrite state in the main frame's.
// The font the view draws text in (the console uses it too).
QFont EditViewFont(QWidget* editView);
void ConnectEditView(const EditViewParts& view, CChildFrame& child, CMainFrame& frame);
// The controller of an edit view made here (null for any other window).
VxEditController* EditController(QWidget* view);
